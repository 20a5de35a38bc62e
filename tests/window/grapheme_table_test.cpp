// SPDX-License-Identifier: GPL-3.0-or-later

// The message area's characters against Unicode's own table of extended
// grapheme clusters (Debian's unicode-data), driving the document and the
// layout without a window.
#include "window/message_document.h"
#include "window/message_layout.h"

#include <QFile>
#include <QFontDatabase>
#include <QStringList>

#include <gtest/gtest.h>

#include <algorithm>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

namespace tarvex::window::test {
namespace {

constexpr const char* kTable = "/usr/share/unicode/auxiliary/GraphemeBreakTest.txt";

struct Case {
    QString text;
    std::vector<std::size_t> boundaries; // in UTF-16 units, 0 and the end included
    QString line;
};

// A line reads "÷ 0020 × 0308 ÷ 000D ÷  # comment": code points in hex, a
// break (÷) or none (×) between them.
bool parse(const QString& line, Case& parsed) {
    const QString data = line.section(u'#', 0, 0).trimmed();
    if (data.isEmpty()) return false;
    parsed = {{}, {}, line};
    for (const QString& field : data.split(u' ', Qt::SkipEmptyParts)) {
        if (field == QStringLiteral(u"\u00F7")) {
            parsed.boundaries.push_back(static_cast<std::size_t>(parsed.text.size()));
        } else if (field != QStringLiteral(u"\u00D7")) {
            bool ok = false;
            const char32_t code = field.toUInt(&ok, 16);
            if (!ok) return false;
            parsed.text += QString::fromUcs4(&code, 1);
        }
    }
    return true;
}

// The area turns a lone CR or LF into CR LF, so such a text never stands in it.
bool hasLoneLineBreakHalf(const QString& text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'\r' && (i + 1 == text.size() || text[i + 1] != u'\n')) return true;
        if (text[i] == u'\n' && (i == 0 || text[i - 1] != u'\r')) return true;
    }
    return false;
}

// What disagrees with the table in one text; empty when nothing does.
std::string disagreement(const Case& tested, MessageLayout& layout) {
    std::ostringstream out;
    const std::vector<std::size_t>& expected = tested.boundaries;
    const std::size_t size = static_cast<std::size_t>(tested.text.size());

    MessageDocument document;
    document.setText(tested.text);
    layout.layOut(document.text(), 1e6);

    // The caret forward and back.
    std::vector<std::size_t> forward{0};
    for (std::size_t p = 0; p < size && forward.size() <= size;) {
        p = layout.nextPosition(p);
        forward.push_back(p);
    }
    if (forward != expected) out << " Right stops differ;";
    std::vector<std::size_t> backward{size};
    for (std::size_t p = size; p > 0 && backward.size() <= size;) {
        p = layout.previousPosition(p);
        backward.push_back(p);
    }
    std::reverse(backward.begin(), backward.end());
    if (backward != expected) out << " Left stops differ;";

    // A position inside a character goes to its start; each character is drawn whole.
    for (std::size_t p = 0; p <= size; ++p) {
        const std::size_t start = *(std::upper_bound(expected.begin(), expected.end(), p) - 1);
        if (layout.startOfCharacter(p) != start) {
            out << " the character around " << p << " starts elsewhere;";
            break;
        }
    }
    for (std::size_t k = 0; k + 1 < expected.size(); ++k) {
        if (layout.cellAt(expected[k], 0).end != expected[k + 1]) {
            out << " the cell at " << expected[k] << " is not one character;";
            break;
        }
    }

    // The narrowest rows hold whole characters.
    layout.layOut(document.text(), 1);
    for (const MessageLayout::Row& row : layout.rows()) {
        if (!std::binary_search(expected.begin(), expected.end(), row.start) ||
            !std::binary_search(expected.begin(), expected.end(), row.end)) {
            out << " a row breaks a character;";
            break;
        }
    }

    // Backspace from the end takes one character at a time.
    for (std::size_t k = expected.size() - 1; k > 0; --k) {
        layout.layOut(document.text(), 1e6);
        const std::size_t end = document.size();
        document.replace(layout.previousPosition(end), end, {});
        if (document.size() != expected[k - 1]) {
            out << " Backspace takes another piece;";
            break;
        }
    }
    return out.str();
}

TEST(GraphemeTable, EveryCharacterOfTheUnicodeTableIsOneStepOneCellAndOneDeletion) {
    QFile table(QString::fromLatin1(kTable));
    ASSERT_TRUE(table.open(QIODevice::ReadOnly | QIODevice::Text))
        << kTable << " is missing: Debian's unicode-data package brings it";
    MessageLayout layout;
    layout.setFont(QFontDatabase::systemFont(QFontDatabase::GeneralFont));

    int tested = 0;
    int agreed = 0;
    int reported = 0;
    const QStringList lines = QString::fromUtf8(table.readAll()).split(u'\n');
    for (const QString& line : lines) {
        Case parsed;
        if (!parse(line, parsed) || hasLoneLineBreakHalf(parsed.text)) continue;
        ++tested;
        const std::string wrong = disagreement(parsed, layout);
        if (wrong.empty()) {
            ++agreed;
        } else if (++reported <= 20) {
            ADD_FAILURE() << line.toStdString() << "\n  " << wrong;
        }
    }
    std::cout << agreed << " of " << tested << " texts of the table agree\n";
    EXPECT_GT(tested, 400);
    EXPECT_EQ(agreed, tested);
}

} // namespace
} // namespace tarvex::window::test
