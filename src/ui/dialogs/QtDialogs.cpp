#include "dialogs/QtDialogs.h"

#include "dialogs/InputValueDialog.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

namespace moque::ui {

namespace {

QMessageBox::Icon toQt(Dialogs::Icon icon)
{
    switch (icon) {
    case Dialogs::Icon::Information:
        return QMessageBox::Information;
    case Dialogs::Icon::Warning:
        return QMessageBox::Warning;
    case Dialogs::Icon::Error:
        return QMessageBox::Critical;
    case Dialogs::Icon::Question:
        return QMessageBox::Question;
    }
    return QMessageBox::Information;
}

} // namespace

QWidget *QtDialogs::parentWidget()
{
    if (QWidget *w = QApplication::activeModalWidget())
        return w;
    return QApplication::activeWindow();
}

void QtDialogs::message(const QString &text, const QString &caption, Icon icon)
{
    QMessageBox box(toQt(icon), caption, text, QMessageBox::NoButton, parentWidget());
    box.addButton(QStringLiteral("确定"), QMessageBox::AcceptRole);
    box.exec();
}

bool QtDialogs::ask(const QString &text, const QString &caption, Icon icon)
{
    QMessageBox box(toQt(icon), caption, text, QMessageBox::NoButton, parentWidget());
    QPushButton *yes = box.addButton(QStringLiteral("是(&Y)"), QMessageBox::YesRole);
    QPushButton *no = box.addButton(QStringLiteral("否(&N)"), QMessageBox::NoRole);
    box.setDefaultButton(no);
    box.setEscapeButton(no);
    box.exec();
    return box.clickedButton() == yes;
}

QString QtDialogs::inputValue(const QString &prompt, const QString &defaultValue, const QString &kind)
{
    return InputValueDialog::giveMeAnValue(parentWidget(), prompt, defaultValue, kind);
}

QString QtDialogs::openFileName(const QString &caption, const QString &filter)
{
    return QFileDialog::getOpenFileName(parentWidget(), caption, {}, filter);
}

QString QtDialogs::saveFileName(const QString &caption, const QString &suggestedName, const QString &filter)
{
    return QFileDialog::getSaveFileName(parentWidget(), caption, suggestedName, filter);
}

} // namespace moque::ui
