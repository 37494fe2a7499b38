#pragma once

#include "refdata/Person.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace moque::app {
class AppCore;
}

namespace moque::ui {

// The entry editor ("单位详细资料"): every text of one address book entry.
// Saving an editor without an ID appends a new entry; 多头单位 drops the ID
// so that the next save stores a copy (another contact of the same company).
class AddressEntryDialog : public QDialog
{
    Q_OBJECT
public:
    explicit AddressEntryDialog(moque::app::AppCore &core, QWidget *parent = nullptr);

    // Empties every box and the ID; the party type keeps its value.
    void clearEditor();
    // Shows the stored entry of the ID; false when there is none.
    bool loadPerson(int id);
    // Shows the entry's texts and its ID (none when 0 or less).
    void setPerson(const refdata::TPerson &person);
    // The entry the boxes describe, as 保  存 stores it.
    refdata::TPerson person() const;
    int editorId() const;

    void setPartyType(const QString &type);
    void setGroup(const QString &group);
    // Opened from the address book window: each save asks it to list again.
    void setFromWindow(bool fromWindow) { m_fromWindow = fromWindow; }
    bool fromWindow() const { return m_fromWindow; }

    // 保  存: stores the entry and shows the outcome; true when stored.
    bool save();

    // Saves the party of a bill to the book: an entry with an ID is stored at
    // once; otherwise the stored entry it belongs to (or an empty one) is
    // shown with the party's non-empty texts over it in a modal editor.
    static void savePersonToBook(moque::app::AppCore &core, const refdata::TPerson *party, QWidget *parent = nullptr);

Q_SIGNALS:
    // An entry was stored while the editor was opened from the window.
    void saved();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void makeNewCopy();
    void leaveTown();
    void fillCities();
    QLineEdit *lineEdit(const char *name, int maxLength);
    QComboBox *comboBox(const char *name, int maxLength);

    moque::app::AppCore &m_core;
    bool m_fromWindow = false;
    QLineEdit *m_id = nullptr;
    QLineEdit *m_name = nullptr;
    QLineEdit *m_inputCode = nullptr;
    QLineEdit *m_identity = nullptr;
    QLineEdit *m_bank = nullptr;
    QLineEdit *m_bankAcct = nullptr;
    QLineEdit *m_bankAddr = nullptr;
    QLineEdit *m_bankNo = nullptr;
    QLineEdit *m_contactor = nullptr;
    QLineEdit *m_phone = nullptr;
    QLineEdit *m_handset = nullptr;
    QLineEdit *m_zipcode = nullptr;
    QComboBox *m_country = nullptr;
    QComboBox *m_province = nullptr;
    QComboBox *m_city = nullptr;
    QComboBox *m_town = nullptr;
    QPlainTextEdit *m_address = nullptr;
    QComboBox *m_group = nullptr;
    QComboBox *m_type = nullptr;
    QLineEdit *m_remark = nullptr;
    QLineEdit *m_def[3] = {};
    QCheckBox *m_addNext = nullptr;
    QPushButton *m_multi = nullptr;
    QObject *m_codeHelp = nullptr;
    bool m_provincesFilled = false;
};

} // namespace moque::ui
