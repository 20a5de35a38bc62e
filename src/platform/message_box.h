// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

#include <deque>
#include <functional>
#include <initializer_list>

class QWidget;

namespace tarvex::platform {

// Modal message boxes. Tests answer the next ask() through setNextAnswer() (or
// several through setNextAnswers()), so nothing blocks, and see each request
// through setObserver().
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

    // Replaces any answers still waiting.
    void setNextAnswer(Answer answer) { next_.assign({answer}); }
    // One answer for each of the next boxes, in order.
    void setNextAnswers(std::initializer_list<Answer> answers) { next_.assign(answers); }
    // Called with every request before it is answered.
    void setObserver(std::function<void(const Request&)> observer) { observer_ = std::move(observer); }

protected:
    virtual Answer runBox(const Request& request, QWidget* parent);

private:
    std::deque<Answer> next_;
    std::function<void(const Request&)> observer_;
};

// An OK box titled with the program's title (program_title.h): with the warning
// icon, as every failed command reports, or with none, for a plain notice.
void showWarning(MessageBox& box, QWidget* parent, const QString& text);
void showNotice(MessageBox& box, QWidget* parent, const QString& text);

} // namespace tarvex::platform
