#include "qt_prompter.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <vector>

namespace {

QMessageBox::Icon iconOf(Prompter::Icon icon) {
    switch (icon) {
    case Prompter::Icon::Information:
        return QMessageBox::Information;
    case Prompter::Icon::Question:
        return QMessageBox::Question;
    case Prompter::Icon::Exclamation:
        return QMessageBox::Warning;
    case Prompter::Icon::Critical:
        return QMessageBox::Critical;
    case Prompter::Icon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

struct ButtonChoice {
    QMessageBox::StandardButton button;
    int answer;
};

std::vector<ButtonChoice> buttonsOf(Prompter::Buttons buttons) {
    switch (buttons) {
    case Prompter::Buttons::Ok:
        return {{QMessageBox::Ok, Prompter::Ok}};
    case Prompter::Buttons::OkCancel:
        return {{QMessageBox::Ok, Prompter::Ok}, {QMessageBox::Cancel, Prompter::Cancel}};
    case Prompter::Buttons::YesNo:
        return {{QMessageBox::Yes, Prompter::Yes}, {QMessageBox::No, Prompter::No}};
    case Prompter::Buttons::YesNoCancel:
        return {{QMessageBox::Yes, Prompter::Yes},
                {QMessageBox::No, Prompter::No},
                {QMessageBox::Cancel, Prompter::Cancel}};
    case Prompter::Buttons::RetryCancel:
        return {{QMessageBox::Retry, Prompter::Retry}, {QMessageBox::Cancel, Prompter::Cancel}};
    }
    return {{QMessageBox::Ok, Prompter::Ok}};
}

} // namespace

int QtPrompter::message(QWidget* owner, const Message& message) {
    QMessageBox box(iconOf(message.icon), message.caption, message.text, QMessageBox::NoButton,
                    owner);
    const std::vector<ButtonChoice> choices = buttonsOf(message.buttons);
    for (const ButtonChoice& choice : choices) {
        box.addButton(choice.button);
    }
    const size_t preferred =
        static_cast<size_t>(message.defaultButton > 0 ? message.defaultButton - 1 : 0);
    box.setDefaultButton(choices[preferred < choices.size() ? preferred : 0].button);
    const auto pressed = static_cast<QMessageBox::StandardButton>(box.exec());
    for (const ButtonChoice& choice : choices) {
        if (choice.button == pressed) {
            return choice.answer;
        }
    }
    return message.buttons == Buttons::Ok ? Ok : message.buttons == Buttons::YesNo ? No : Cancel;
}

QString QtPrompter::openFileName(QWidget* owner, const QString& caption, const QString& folder,
                                 const QString& filter) {
    return QFileDialog::getOpenFileName(owner, caption, folder, filter);
}

QString QtPrompter::saveFileName(QWidget* owner, const QString& caption, const QString& path,
                                 const QString& filter) {
    return QFileDialog::getSaveFileName(owner, caption, path, filter);
}

QString QtPrompter::saveFileAs(QWidget* owner, const QString& caption, const QString& path,
                               const QStringList& filters, int selected) {
    QString filter = filters.value(selected);
    return QFileDialog::getSaveFileName(owner, caption, path, filters.join(QStringLiteral(";;")),
                                        &filter);
}

QString QtPrompter::folder(QWidget* owner, const QString& caption, const QString& start) {
    return QFileDialog::getExistingDirectory(owner, caption, start);
}

bool QtPrompter::printerSetup(QWidget* owner, QPrinter& printer) {
    QPrintDialog dialog(&printer, owner);
    return dialog.exec() == QDialog::Accepted;
}
