#pragma once

#include <QPlainTextEdit>

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace tarvex::window {

// The editing view behind MessageArea: a plain-text editor that holds the
// codes' display form and keeps the length limit on everything the user adds.
class MessageEditor : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit MessageEditor(QWidget* parent);

    std::string codes() const;
    void setCodes(std::string_view codes);
    std::size_t length() const;

    std::size_t limit() const { return limit_; }
    void setLimit(std::size_t limit) { limit_ = limit; }

signals:
    void codesChanged();

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    bool canInsertFromMimeData(const QMimeData* source) const override;
    void insertFromMimeData(const QMimeData* source) override;
    QMimeData* createMimeDataFromSelection() const override;

private:
    enum class Fit { WholeOrNothing, CutToRoom };

    void onContentsChange(int position, int removed, int added);
    std::size_t selectedLength() const;
    // How many codes may replace the selection.
    std::size_t room() const;
    std::string fitToRoom(std::string codes, Fit fit) const;
    void insertCodes(std::string_view codes);

    std::size_t limit_ = 0;
    bool settingCodes_ = false;
    mutable std::optional<std::string> codesCache_;
};

} // namespace tarvex::window
