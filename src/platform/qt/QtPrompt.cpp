#include "platform/qt/QtPrompt.h"

#include <QApplication>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <utility>
#include <vector>

namespace movra {

namespace {

QString FromUtf8(const std::string& text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

QString TitleOr(const std::string& title) {
    if (!title.empty()) return FromUtf8(title);
    QString name = QApplication::applicationName();
    return name.isEmpty() ? QStringLiteral("Movra") : name;
}

// A button of a message box: the answer it gives, its text and its role in the box.
struct ButtonLook {
    int answer;
    const char* text;
    QMessageBox::ButtonRole role;
};

std::vector<ButtonLook> ButtonsOf(int style) {
    switch (style & 7) {
        case MsgOkCancel: return {{AnswerOk, "确定", QMessageBox::AcceptRole}, {AnswerCancel, "取消", QMessageBox::RejectRole}};
        case MsgAbortRetryIgnore:
            return {{AnswerAbort, "中止(&A)", QMessageBox::RejectRole},
                    {AnswerRetry, "重试(&R)", QMessageBox::AcceptRole},
                    {AnswerIgnore, "忽略(&I)", QMessageBox::AcceptRole}};
        case MsgYesNoCancel:
            return {{AnswerYes, "是(&Y)", QMessageBox::YesRole},
                    {AnswerNo, "否(&N)", QMessageBox::NoRole},
                    {AnswerCancel, "取消", QMessageBox::RejectRole}};
        case MsgYesNo: return {{AnswerYes, "是(&Y)", QMessageBox::YesRole}, {AnswerNo, "否(&N)", QMessageBox::NoRole}};
        case MsgRetryCancel: return {{AnswerRetry, "重试(&R)", QMessageBox::AcceptRole}, {AnswerCancel, "取消", QMessageBox::RejectRole}};
        default: return {{AnswerOk, "确定", QMessageBox::AcceptRole}};
    }
}

QMessageBox::Icon IconOf(int style) {
    switch (style & 0x70) {
        case MsgCritical: return QMessageBox::Critical;
        case MsgQuestion: return QMessageBox::Question;
        case MsgExclamation: return QMessageBox::Warning;
        case MsgInformation: return QMessageBox::Information;
        default: return QMessageBox::NoIcon;
    }
}

}  // namespace

int QtPrompt::MsgBox(const std::string& text, int style, const std::string& title) {
    QMessageBox box(IconOf(style), TitleOr(title), FromUtf8(text), QMessageBox::NoButton, QApplication::activeWindow());
    std::vector<std::pair<QAbstractButton*, int>> buttons;
    QAbstractButton* escape = nullptr;
    for (const ButtonLook& look : ButtonsOf(style)) {
        QPushButton* button = box.addButton(QString::fromUtf8(look.text), look.role);
        buttons.emplace_back(button, look.answer);
        if (look.answer == AnswerCancel || (look.answer == AnswerOk && buttons.size() == 1 && (style & 7) == 0))
            escape = button;
    }
    // The default button is chosen by 256 (second) and 512 (third).
    size_t defaultIndex = static_cast<size_t>((style >> 8) & 3);
    if (defaultIndex >= buttons.size()) defaultIndex = 0;
    box.setDefaultButton(static_cast<QPushButton*>(buttons[defaultIndex].first));
    if (escape) box.setEscapeButton(escape);
    box.exec();
    QAbstractButton* clicked = box.clickedButton();
    for (const auto& [button, answer] : buttons)
        if (button == clicked) return answer;
    // Closed without a button: what Escape would have answered, else the last button's answer.
    for (const auto& [button, answer] : buttons)
        if (button == escape) return answer;
    return buttons.back().second;
}

std::string QtPrompt::InputBox(const std::string& text, const std::string& title, const std::string& defaultText) {
    QInputDialog dialog(QApplication::activeWindow());
    dialog.setInputMode(QInputDialog::TextInput);
    dialog.setWindowTitle(TitleOr(title));
    dialog.setLabelText(FromUtf8(text));
    dialog.setTextValue(FromUtf8(defaultText));
    dialog.setOkButtonText(QStringLiteral("确定"));
    dialog.setCancelButtonText(QStringLiteral("取消"));
    if (dialog.exec() != QDialog::Accepted) return {};
    return dialog.textValue().toStdString();
}

}  // namespace movra
