#pragma once

#include <QStringList>
#include <QWidget>

class QListWidget;

namespace moque::ui {

// The entry layout designer's left column: the group filter cbGroup and the
// check list listCtlLabel of the kind's captions with its context menu
// (全选, 反选, 勾选项目定义).
class CaptionList : public QWidget
{
    Q_OBJECT
public:
    explicit CaptionList(QWidget *parent = nullptr);

    // Replaces the captions, all unchecked.
    void setCaptions(const QStringList &captions);
    bool isEmpty() const;
    // The selected caption; with none selected the first one gets selected.
    QString chooseCaption();
    // The selected caption, empty when none.
    QString currentCaption() const;

Q_SIGNALS:
    void captionClicked();
    void checkBoxCaptionsRequested();

private:
    void checkAll(bool invert);

    QListWidget *m_list = nullptr;
};

} // namespace moque::ui
