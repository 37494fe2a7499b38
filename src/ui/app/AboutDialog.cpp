#include "app/AboutDialog.h"

#include "app/AppVersion.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace moque::ui {

QString AboutDialog::versionLine()
{
    return QStringLiteral("当前版本：") + app::getAppVersion(4) + QStringLiteral("(") + QStringLiteral("H1")
           + QStringLiteral(")");
}

AboutDialog::AboutDialog(QWidget *parent)
    : QDialog(parent)
{
    // The window keeps the form name the system knows it by.
    setObjectName(QStringLiteral("frmAbout"));
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("关于"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(28, 24, 28, 18);
    layout->setSpacing(10);

    auto *caption = new QLabel(QStringLiteral("墨雀票据打印软件"), this);
    caption->setObjectName(QStringLiteral("lbCaption"));
    QFont f = caption->font();
    f.setPointSize(f.pointSize() + 8);
    f.setBold(true);
    caption->setFont(f);
    caption->setAlignment(Qt::AlignCenter);
    layout->addWidget(caption);

    auto *edition = new QLabel(QStringLiteral("单机版 for win98/Me/2000/Xp/2003/vista/Win7"), this);
    edition->setObjectName(QStringLiteral("lbEdition"));
    edition->setAlignment(Qt::AlignCenter);
    layout->addWidget(edition);

    auto *version = new QLabel(versionLine(), this);
    version->setObjectName(QStringLiteral("lbVersion"));
    version->setAlignment(Qt::AlignCenter);
    layout->addWidget(version);

    auto *note = new QLabel(QStringLiteral("快递单、收据、发票的套打软件：只把填写的内容打印到预印票据的相应位置。"), this);
    note->setWordWrap(true);
    note->setAlignment(Qt::AlignCenter);
    note->setStyleSheet(QStringLiteral("color: #555;"));
    layout->addWidget(note);

    auto *buttons = new QDialogButtonBox(this);
    buttons->addButton(QStringLiteral("确定"), QDialogButtonBox::AcceptRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);
    setFixedSize(sizeHint().expandedTo(QSize(420, 220)));
}

} // namespace moque::ui
