#pragma once

#include <QDialog>

namespace moque::ui {

// The about window: product caption, edition line and version.
class TfrmAbout : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmAbout(QWidget *parent = nullptr);

    static QString versionLine();
};

} // namespace moque::ui
