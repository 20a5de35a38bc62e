#pragma once

#include <QString>

#include <optional>
#include <vector>

class QWidget;

namespace tarvex::platform {

// Modal message boxes. Tests answer the next ask() through setNextAnswer(), so
// nothing blocks, and read back what would have been shown.
class MessageBox {
public:
    enum class Answer { Ok, Yes, No };
    enum class Buttons { Ok, YesNo };
    enum class Icon { None, Information, Warning, Critical };
    struct Request {
        QString text;
        QString title;
        Buttons buttons = Buttons::Ok;
        Icon icon = Icon::None;
        Answer defaultAnswer = Answer::Ok;
    };

    virtual ~MessageBox() = default;

    Answer ask(const Request& request, QWidget* parent);

    void setNextAnswer(Answer answer) { next_ = answer; }
    const std::vector<Request>& shown() const { return shown_; }

protected:
    virtual Answer runBox(const Request& request, QWidget* parent);

private:
    std::optional<Answer> next_;
    std::vector<Request> shown_;
};

} // namespace tarvex::platform
