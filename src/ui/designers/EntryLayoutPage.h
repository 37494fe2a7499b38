#pragma once

#include "design/EntryLayout.h"

#include <QTimer>
#include <QWidget>

class QCheckBox;
class QLabel;
class QLineEdit;
class QSlider;
class QSpinBox;

namespace moque::ui {

// The entry layout designer's page "录单项目界面显示配置": the screen place of
// the current item in four spin boxes, the step bar, the move and size
// buttons, visibility, default value, the print font sample and the
// blinking message line. It tells what the user did; the designer decides.
class EntryLayoutPage : public QWidget
{
    Q_OBJECT
public:
    explicit EntryLayoutPage(QWidget *parent = nullptr);

    // SrcX, SrcY, SrcW, SrcH as the spin boxes show them.
    QRect place() const;
    // Setting values never reports them as the user's edits.
    void setPlace(const QRect &place);
    int step() const;
    bool hiddenChecked() const;
    void setHiddenChecked(bool hidden);
    QString defaultValue() const;
    void setDefaultValue(const QString &text);
    QFont itemFont() const;
    void setItemFont(const QFont &font);
    QString message() const;
    void setMessage(const QString &text);

Q_SIGNALS:
    void moveClicked(moque::design::Direction direction);
    void sizeClicked(bool height, int delta);
    // The user changed a spin box, or left one.
    void placeEdited();
    void placeLeft();
    void hiddenToggled(bool hidden);
    void defaultValueLeft();
    void saveClicked();
    void printDesignClicked();
    // A help picture of the Image folder, to be shown at that size.
    void helpPictureClicked(const QString &file, const QSize &size);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void blink();

    QSpinBox *m_srcX = nullptr;
    QSpinBox *m_srcY = nullptr;
    QSpinBox *m_srcH = nullptr;
    QSpinBox *m_srcW = nullptr;
    QSlider *m_step = nullptr;
    QCheckBox *m_hidden = nullptr;
    QLineEdit *m_defaultValue = nullptr;
    QLabel *m_font = nullptr;
    QLabel *m_message = nullptr;
    QTimer m_blinkTimer;
    bool m_blinkOn = false;
    bool m_setting = false;
};

} // namespace moque::ui
