// SPDX-License-Identifier: GPL-3.0-or-later

#include "about/about_layout.h"
#include "window/layout_table.h"

#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <string>
#include <utility>

namespace tarvex::window::test {
namespace {

using Entry = std::pair<std::string, std::string>; // context (empty: none), English

// The text of one quoted line of a .pot file, escapes resolved.
std::string unquoted(const std::string& line) {
    const std::size_t open = line.find('"');
    const std::size_t close = line.rfind('"');
    std::string text;
    for (std::size_t i = open + 1; i < close; ++i) {
        if (line[i] == '\\' && i + 1 < close) {
            ++i;
            text += line[i] == 'n' ? '\n' : line[i] == 't' ? '\t' : line[i];
        } else {
            text += line[i];
        }
    }
    return text;
}

// Every (context, English) pair of the template the build made from the sources.
std::set<Entry> templateEntries() {
    std::ifstream in(TARVEX_TEMPLATE);
    EXPECT_TRUE(in.good()) << TARVEX_TEMPLATE;
    std::set<Entry> entries;
    std::string context;
    std::string english;
    std::string* continued = nullptr;
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind("msgctxt ", 0) == 0) {
            context = unquoted(line);
            continued = &context;
        } else if (line.rfind("msgid ", 0) == 0) {
            english = unquoted(line);
            continued = &english;
        } else if (line.rfind('"', 0) == 0 && continued != nullptr) {
            *continued += unquoted(line);
        } else if (line.rfind("msgstr", 0) == 0) {
            entries.emplace(context, english);
            context.clear();
            continued = nullptr;
        }
    }
    return entries;
}

// A text marked nowhere, or in another context than the window looks it up
// in, would stay English in every language.
TEST(WindowWords, EveryTextOfTheTablesIsInTheTemplateInItsContext) {
    const std::set<Entry> entries = templateEntries();
    const auto expectEntry = [&](std::string_view context, std::string_view english, std::string_view where) {
        EXPECT_TRUE(entries.contains({std::string(context), std::string(english)}))
            << where << ": \"" << english << "\" in context \"" << context << "\"";
    };
    for (const layout::ControlEntry& control : layout::kControls) {
        if (!control.caption.empty() && control.role != layout::Role::Title) {
            expectEntry("main window", control.caption, control.name);
        }
        if (!control.toolTip.empty()) expectEntry("", control.toolTip, control.name);
    }
    for (const layout::MenuEntry& menu : layout::kMenus) {
        expectEntry("menu", menu.caption, menu.name);
        for (const layout::MenuItemEntry& item : menu.items) expectEntry("menu", item.caption, item.name);
    }
    for (const about::layout::Element& element : about::layout::kElements) {
        // The title and version give way to the program's own as the box loads.
        if (element.designText.empty() || element.name == "lblTitle" || element.name == "lblVersion") continue;
        expectEntry("about box", element.designText, element.name);
    }
}

} // namespace
} // namespace tarvex::window::test
