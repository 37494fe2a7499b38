#pragma once

#include <QDialog>

namespace moque::ui {

// The about window: product caption, edition line and version.
class AboutDialog : public QDialog
{
    Q_OBJECT
public:
    explicit AboutDialog(QWidget *parent = nullptr);

    static QString versionLine();
};

} // namespace moque::ui
