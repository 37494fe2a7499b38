#include "dialogs/InputValueDialog.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>

using moque::ui::InputValueDialog;

namespace {

const QString integerRefused = QStringLiteral("提示：只能输入数字,谢谢！");
const QString doubleRefused = QStringLiteral("提示:只能输入数字及点(如: 12.5 )！");
const QString emptyRefused = QStringLiteral("请输入正确的值，不能为空");

QComboBox *valueBox(const InputValueDialog &d)
{
    return d.findChild<QComboBox *>(QStringLiteral("cbValue"));
}

QString message(const InputValueDialog &d)
{
    return d.findChild<QLabel *>(QStringLiteral("lbMessage"))->text();
}

QPushButton *button(const InputValueDialog &d, const QString &name)
{
    return d.findChild<QPushButton *>(name);
}

// Runs giveMeAnValue and drives the dialog it shows, once it is up.
QString runModal(const QString &defaultValue, const QString &kind, const std::function<void(InputValueDialog &)> &drive)
{
    bool driven = false;
    QTimer::singleShot(0, [&] {
        auto *d = qobject_cast<InputValueDialog *>(QApplication::activeModalWidget());
        if (!d)
            return;
        driven = true;
        drive(*d);
    });
    const QString result = InputValueDialog::giveMeAnValue(nullptr, QStringLiteral("请输入打印份数"), defaultValue, kind);
    if (!driven)
        qWarning("the input dialog was not shown modally");
    return driven ? result : QStringLiteral("<not shown>");
}

} // namespace

class TestInputValue : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void kinds_data()
    {
        QTest::addColumn<QString>("given");
        QTest::addColumn<QString>("used");
        QTest::newRow("int") << "int" << "INTEGER";
        QTest::newRow("integer") << "integer" << "INTEGER";
        QTest::newRow("blanks and case") << " Int " << "INTEGER";
        QTest::newRow("float") << "float" << "DOUBLE";
        QTest::newRow("real") << "REAL" << "DOUBLE";
        QTest::newRow("double") << "double" << "DOUBLE";
        QTest::newRow("string") << "string" << "STRING";
        QTest::newRow("other") << "money" << "STRING";
        QTest::newRow("empty") << "" << "STRING";
    }
    void kinds()
    {
        QFETCH(QString, given);
        QFETCH(QString, used);
        QCOMPARE(InputValueDialog::normaliseKind(given), used);
        const InputValueDialog d(QStringLiteral("值"), {}, given);
        QCOMPARE(d.kind(), used);
    }

    void layoutAndIntegerList()
    {
        InputValueDialog d(QStringLiteral("请输入打印份数"), QStringLiteral("1"), QStringLiteral("integer"));
        d.show();
        QCOMPARE(d.windowTitle(), QStringLiteral("用户输入"));
        QCOMPARE(d.size(), QSize(360, 200));
        QCOMPARE(d.minimumSize(), d.maximumSize());
        const auto *prompt = d.findChild<QLabel *>(QStringLiteral("lbPrompt"));
        QCOMPARE(prompt->text(), QStringLiteral("请输入打印份数"));
        QVERIFY(prompt->wordWrap());
        QVERIFY(message(d).isEmpty());
        QCOMPARE(button(d, QStringLiteral("btnOK"))->text(), QStringLiteral("确 定(&Y)"));
        QCOMPARE(button(d, QStringLiteral("btnCancel"))->text(), QStringLiteral("取 消(&C)"));

        QComboBox *box = valueBox(d);
        QVERIFY(box->isEditable());
        QCOMPARE(d.focusWidget(), box);
        QCOMPARE(box->currentText(), QStringLiteral("1"));
        QStringList items;
        for (int i = 0; i < box->count(); ++i)
            items << box->itemText(i);
        QCOMPARE(items, QString("2,5,10,20,25,30,50,100,200,500,1000").split(QLatin1Char(',')));
        QCOMPARE(box->maxVisibleItems(), 20);
        QVERIFY(!box->completer());
    }

    void stringHasNoListNoLimit()
    {
        InputValueDialog d(QStringLiteral("备注"), QStringLiteral("默认"), QStringLiteral("string"));
        d.show();
        QComboBox *box = valueBox(d);
        QCOMPARE(box->count(), 0);
        QCOMPARE(box->currentText(), QStringLiteral("默认"));
        QTest::keyClick(box, Qt::Key_End);
        QTest::keyClicks(box, QStringLiteral("abcdefghij"));
        QCOMPARE(box->currentText(), QStringLiteral("默认abcdefghij"));
    }

    void typing_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("defaultValue");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("shown");
        QTest::newRow("integer letter refused") << "integer" << "1" << "a" << "1" << integerRefused;
        QTest::newRow("integer point refused") << "int" << "1" << "." << "1" << integerRefused;
        QTest::newRow("integer digit") << "integer" << "1" << "5" << "15" << QString();
        QTest::newRow("accepted key clears message") << "integer" << "" << "a3" << "3" << QString();
        QTest::newRow("integer at most 7") << "integer" << "" << "123456789" << "1234567" << QString();
        QTest::newRow("double decimal") << "double" << "" << "12.5" << "12.5" << QString();
        QTest::newRow("double letter refused") << "float" << "12" << "x" << "12" << doubleRefused;
        QTest::newRow("double blank refused") << "real" << "12" << " " << "12" << doubleRefused;
        QTest::newRow("string anything") << "string" << "" << "a 1.x" << "a 1.x" << QString();
    }
    void typing()
    {
        QFETCH(QString, kind);
        QFETCH(QString, defaultValue);
        QFETCH(QString, typed);
        QFETCH(QString, text);
        QFETCH(QString, shown);
        InputValueDialog d(QStringLiteral("值"), defaultValue, kind);
        d.show();
        QComboBox *box = valueBox(d);
        QTest::keyClick(box, Qt::Key_End);
        QTest::keyClicks(box, typed);
        QCOMPARE(box->currentText(), text);
        QCOMPARE(message(d), shown);
        QVERIFY(d.isVisible());
    }

    void backspaceAccepted()
    {
        InputValueDialog d(QStringLiteral("值"), QStringLiteral("12"), QStringLiteral("integer"));
        d.show();
        QComboBox *box = valueBox(d);
        QTest::keyClick(box, Qt::Key_End);
        QTest::keyClicks(box, QStringLiteral("a"));
        QCOMPARE(message(d), integerRefused);
        QTest::keyClick(box, Qt::Key_Backspace);
        QCOMPARE(box->currentText(), QStringLiteral("1"));
        QVERIFY(message(d).isEmpty());
    }

    void pastedTextKeepsAllowedCharacters_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("pasted");
        QTest::addColumn<QString>("text");
        QTest::newRow("integer") << "integer" << "1a2 3" << "9123";
        QTest::newRow("double") << "double" << "1,5.2元" << "915.2";
        QTest::newRow("string") << "string" << "1a 2" << "91a 2";
    }
    void pastedTextKeepsAllowedCharacters()
    {
        QFETCH(QString, kind);
        QFETCH(QString, pasted);
        QFETCH(QString, text);
        InputValueDialog d(QStringLiteral("值"), QStringLiteral("9"), kind);
        d.show();
        QLineEdit *edit = valueBox(d)->lineEdit();
        edit->end(false);
        QApplication::clipboard()->setText(pasted);
        edit->paste();
        QCOMPARE(edit->text(), text);
    }

    void blanksOnlyAreRefused_data()
    {
        QTest::addColumn<bool>("byEnter");
        QTest::newRow("button") << false;
        QTest::newRow("enter") << true;
    }
    void blanksOnlyAreRefused()
    {
        QFETCH(bool, byEnter);
        InputValueDialog d(QStringLiteral("模板名称"), {}, QStringLiteral("string"));
        d.show();
        QComboBox *box = valueBox(d);
        QTest::keyClicks(box, QStringLiteral("   "));
        if (byEnter)
            QTest::keyClick(box, Qt::Key_Return);
        else
            button(d, QStringLiteral("btnOK"))->click();
        QCOMPARE(message(d), emptyRefused);
        QVERIFY(d.isVisible());
        QVERIFY(d.isCancelled());
        QCOMPARE(box->currentText(), QString());
    }

    void confirmReturnsTrimmedText_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("defaultValue");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("byEnter");
        QTest::addColumn<QString>("result");
        QTest::newRow("string by button") << "string" << " 新模板" << "A " << false << "新模板A";
        QTest::newRow("string by enter") << "string" << "" << "  note 1 " << true << "note 1";
        QTest::newRow("integer default") << "integer" << "1" << "" << false << "1";
        QTest::newRow("double typed") << "double" << "" << "12.5" << true << "12.5";
    }
    void confirmReturnsTrimmedText()
    {
        QFETCH(QString, kind);
        QFETCH(QString, defaultValue);
        QFETCH(QString, typed);
        QFETCH(bool, byEnter);
        QFETCH(QString, result);
        const QString value = runModal(defaultValue, kind, [&](InputValueDialog &d) {
            QTest::keyClick(valueBox(d), Qt::Key_End);
            QTest::keyClicks(valueBox(d), typed);
            if (byEnter)
                QTest::keyClick(valueBox(d), Qt::Key_Enter);
            else
                button(d, QStringLiteral("btnOK"))->click();
        });
        QCOMPARE(value, result);
    }

    void cancellingReturnsEmptyText_data()
    {
        QTest::addColumn<QString>("route");
        QTest::newRow("close box") << "close";
        QTest::newRow("cancel button") << "cancel";
        QTest::newRow("escape") << "escape";
    }
    void cancellingReturnsEmptyText()
    {
        QFETCH(QString, route);
        const QString value = runModal(QStringLiteral("5"), QStringLiteral("integer"), [&](InputValueDialog &d) {
            if (route == QLatin1String("close"))
                d.close();
            else if (route == QLatin1String("cancel"))
                button(d, QStringLiteral("btnCancel"))->click();
            else
                QTest::keyClick(valueBox(d), Qt::Key_Escape);
        });
        QCOMPARE(value, QString());

        InputValueDialog d(QStringLiteral("值"), QStringLiteral("5"), QStringLiteral("integer"));
        d.show();
        if (route == QLatin1String("close"))
            d.close();
        else if (route == QLatin1String("cancel"))
            button(d, QStringLiteral("btnCancel"))->click();
        else
            QTest::keyClick(valueBox(d), Qt::Key_Escape);
        QVERIFY(!d.isVisible());
        QVERIFY(d.isCancelled());
        QCOMPARE(d.value(), QString());
    }
};

QTEST_MAIN(TestInputValue)
#include "test_inputvalue.moc"
