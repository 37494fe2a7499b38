#include "designers/PrintOffsetWindow.h"

#include "app/AppCore.h"
#include "common/Dialogs.h"
#include "design/TestPages.h"
#include "designers/ImageViewer.h"
#include "designers/PrintPreviewWindow.h"
#include "designers/TestPagePrint.h"
#include "dialogs/CommandButton.h"
#include "templates/PrintItemStore.h"
#include "templates/TemplateCatalog.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>

namespace moque::ui {

using design::TemplateOffset;
using design::WholeTemplateSettings;
namespace range = design::offsetRange;

namespace {
const QString portrait = QStringLiteral("纵向");
const QString landscape = QStringLiteral("横向");
const QString positionSection = QStringLiteral("FRMPRINTOFFSET");
} // namespace

PrintOffsetWindow::PrintOffsetWindow(app::AppCore &core, int templateId, QWidget *parent)
    : QDialog(parent)
    , m_core(core)
    , m_offsets(core.db())
{
    setObjectName(QStringLiteral("frmPrintOffset"));
    setWindowTitle(QStringLiteral("打印整体偏移调整"));

    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("lstCheckType"));
    m_list->setMinimumWidth(230);
    m_typeName = new QLabel(this);
    m_typeName->setObjectName(QStringLiteral("lbTypeName"));
    QFont bold = m_typeName->font();
    bold.setBold(true);
    m_typeName->setFont(bold);

    m_x = addBox(QStringLiteral("edtXMove"), range::moveMin, range::moveMax);
    m_y = addBox(QStringLiteral("edtYMove"), range::moveMin, range::moveMax);
    m_screenWidth = addBox(QStringLiteral("edtTWidth"), range::screenWidthMin, range::screenWidthMax);
    m_screenHeight = addBox(QStringLiteral("edtTHeight"), range::screenHeightMin, range::screenHeightMax);
    m_paperWidth = addBox(QStringLiteral("edtPWidth"), range::paperWidthMin, range::paperWidthMax);
    m_paperHeight = addBox(QStringLiteral("edtPHeight"), range::paperHeightMin, range::paperHeightMax);
    // The entry size changes only on purpose: a double click opens it for editing.
    for (QSpinBox *box : {m_screenWidth, m_screenHeight}) {
        box->setReadOnly(true);
        box->setToolTip(QStringLiteral("双击后可修改"));
        box->findChild<QLineEdit *>()->installEventFilter(this);
    }
    m_direction = new QComboBox(this);
    m_direction->setObjectName(QStringLiteral("cbHVPrint"));
    m_direction->addItems({portrait, landscape});

    const auto cmLabel = [this](const char *name) {
        auto *l = new QLabel(this);
        l->setObjectName(QLatin1String(name));
        l->setMinimumWidth(90);
        return l;
    };
    m_xCm = cmLabel("lbXMoveCm");
    m_yCm = cmLabel("lbYMoveCm");
    m_paperWidthCm = cmLabel("lbPWidthCm");
    m_paperHeightCm = cmLabel("lbPHeightCm");

    const auto arrow = [this](const char *name, Qt::ArrowType type, bool xAxis, bool up) {
        auto *b = new QToolButton(this);
        b->setObjectName(QLatin1String(name));
        b->setArrowType(type);
        b->setAutoRepeat(false);
        connect(b, &QToolButton::clicked, this, [this, xAxis, up] { arrowClicked(xAxis, up); });
        return b;
    };

    auto *grid = new QGridLayout;
    int row = 0;
    grid->addWidget(new QLabel(QStringLiteral("整体打印右移："), this), row, 0);
    grid->addWidget(m_x, row, 1);
    grid->addWidget(new QLabel(QStringLiteral("0.1毫米"), this), row, 2);
    grid->addWidget(m_xCm, row, 3);
    grid->addWidget(arrow("udXUp", Qt::RightArrow, true, true), row, 4);
    grid->addWidget(arrow("udXDown", Qt::LeftArrow, true, false), row, 5);
    ++row;
    grid->addWidget(new QLabel(QStringLiteral("整体打印下移："), this), row, 0);
    grid->addWidget(m_y, row, 1);
    grid->addWidget(new QLabel(QStringLiteral("0.1毫米"), this), row, 2);
    grid->addWidget(m_yCm, row, 3);
    grid->addWidget(arrow("udYUp", Qt::UpArrow, false, true), row, 4);
    grid->addWidget(arrow("udYDown", Qt::DownArrow, false, false), row, 5);
    ++row;
    grid->addWidget(new QLabel(QStringLiteral("打印方向："), this), row, 0);
    grid->addWidget(m_direction, row, 1);
    ++row;
    grid->addWidget(new QLabel(QStringLiteral("软件填开界面大小（影响填单界面，不影响打印效果）"), this), row, 0, 1, 6);
    ++row;
    grid->addWidget(new QLabel(QStringLiteral("宽(像素)："), this), row, 0);
    grid->addWidget(m_screenWidth, row, 1);
    ++row;
    grid->addWidget(new QLabel(QStringLiteral("高(像素)："), this), row, 0);
    grid->addWidget(m_screenHeight, row, 1);
    ++row;
    grid->addWidget(new QLabel(QStringLiteral("票据实际大小( 影响预览效果，不影响打印效果)"), this), row, 0, 1, 6);
    ++row;
    grid->addWidget(new QLabel(QStringLiteral("宽(0.1毫米)："), this), row, 0);
    grid->addWidget(m_paperWidth, row, 1);
    grid->addWidget(m_paperWidthCm, row, 2, 1, 2);
    ++row;
    grid->addWidget(new QLabel(QStringLiteral("高(0.1毫米)："), this), row, 0);
    grid->addWidget(m_paperHeight, row, 1);
    grid->addWidget(m_paperHeightCm, row, 2, 1, 2);
    grid->setColumnStretch(3, 1);

    QPushButton *save = commandButton(QStringLiteral("保存整体设置"), QStringLiteral("btSave"), this);
    QPushButton *design =
        commandButton(QStringLiteral("整体上差不多，我要调整某单项的打印位置"), QStringLiteral("btDesign"), this);
    QPushButton *preview = commandButton(QStringLiteral("预览"), QStringLiteral("btPreview"), this);
    QPushButton *gridPage = commandButton(QStringLiteral("打印对齐网格"), QStringLiteral("btGrid"), this);
    gridPage->setToolTip(QStringLiteral("在白纸上打印毫米网格和各项目的打印框，对着光叠在票据上，可直接读出偏差"));
    QPushButton *portraitPicture = commandButton(QStringLiteral("纵向进纸图示"), QStringLiteral("btZXPicture"), this);
    QPushButton *landscapePicture =
        commandButton(QStringLiteral("横向进纸图示"), QStringLiteral("btHXPicture"), this);
    QPushButton *done = commandButton(QStringLiteral("结束设置"), QStringLiteral("btClose"), this);

    auto *pictures = new QHBoxLayout;
    pictures->addWidget(portraitPicture);
    pictures->addWidget(landscapePicture);
    pictures->addWidget(gridPage);
    pictures->addStretch();
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(save);
    buttons->addWidget(preview);
    buttons->addStretch();
    buttons->addWidget(done);

    auto *right = new QVBoxLayout;
    right->addWidget(m_typeName);
    right->addLayout(grid);
    right->addWidget(design);
    right->addLayout(pictures);
    right->addStretch();
    right->addLayout(buttons);
    auto *layout = new QHBoxLayout(this);
    layout->addWidget(m_list);
    layout->addLayout(right, 1);

    connect(m_list, &QListWidget::currentRowChanged, this, &PrintOffsetWindow::templateChosen);
    connect(save, &QPushButton::clicked, this, &PrintOffsetWindow::saveClicked);
    connect(design, &QPushButton::clicked, this, [this] {
        Q_EMIT designRequested(m_templateId);
        close();
    });
    connect(preview, &QPushButton::clicked, this, &PrintOffsetWindow::openPreview);
    connect(gridPage, &QPushButton::clicked, this, &PrintOffsetWindow::printGrid);
    connect(portraitPicture, &QPushButton::clicked, this,
            [this] { showFeedPicture(QStringLiteral("sys_exZX.jpg")); });
    connect(landscapePicture, &QPushButton::clicked, this,
            [this] { showFeedPicture(QStringLiteral("sys_exHX.jpg")); });
    connect(done, &QPushButton::clicked, this, &QDialog::close);
    for (QSpinBox *box : {m_x, m_y, m_paperWidth, m_paperHeight}) {
        connect(box, &QSpinBox::editingFinished, this, &PrintOffsetWindow::autoSave);
        connect(box, &QSpinBox::valueChanged, this, &PrintOffsetWindow::updateCentimetres);
    }

    fillTemplates(templateId);
    resize(760, 420);
}

PrintOffsetWindow::~PrintOffsetWindow() = default;

QSpinBox *PrintOffsetWindow::addBox(const QString &name, int minimum, int maximum)
{
    // Whole numbers only: a typed "." is refused by the box, so 12.5 becomes 125.
    auto *box = new QSpinBox(this);
    box->setObjectName(name);
    box->setRange(minimum, maximum);
    box->setButtonSymbols(QAbstractSpinBox::NoButtons);
    box->setKeyboardTracking(false);
    return box;
}

void PrintOffsetWindow::fillTemplates(int templateId)
{
    m_loading = true;
    int chosen = 0;
    int row = 0;
    for (const TemplateOffset::Entry &e : m_offsets.enabledTemplates()) {
        auto *item = new QListWidgetItem(e.name, m_list);
        item->setData(Qt::UserRole, e.id);
        if (e.id == templateId)
            chosen = row;
        ++row;
    }
    m_loading = false;
    if (templateId > 0 && m_list->count() > 0 && m_list->item(chosen)->data(Qt::UserRole).toInt() != templateId)
        m_core.dialogs().info(TemplateOffset::notFoundText(templateId));
    if (m_list->count() > 0)
        m_list->setCurrentRow(chosen);
}

void PrintOffsetWindow::templateChosen()
{
    if (m_loading || !m_list->currentItem())
        return;
    m_templateName = m_list->currentItem()->text();
    m_typeName->setText(QStringLiteral("当前调整：") + m_templateName);
    loadParam();
}

void PrintOffsetWindow::loadParam()
{
    const auto loaded = m_offsets.load(m_templateName);
    if (!loaded) {
        m_templateId = 0;
        m_loading = true;
        m_x->setValue(0);
        m_y->setValue(0);
        m_loading = false;
        updateCentimetres();
        return;
    }
    m_templateId = loaded->first;
    setWindowTitle(m_templateName + QLatin1Char('-') + QString::number(m_templateId));
    setBoxes(loaded->second);
}

WholeTemplateSettings PrintOffsetWindow::boxes() const
{
    WholeTemplateSettings s;
    s.xMove = m_x->value();
    s.yMove = m_y->value();
    s.screenWidth = m_screenWidth->value();
    s.screenHeight = m_screenHeight->value();
    s.paperWidth = m_paperWidth->value();
    s.paperHeight = m_paperHeight->value();
    s.landscape = m_direction->currentText() != portrait;
    return s;
}

void PrintOffsetWindow::setBoxes(const WholeTemplateSettings &s)
{
    m_loading = true;
    m_x->setValue(s.xMove);
    m_y->setValue(s.yMove);
    m_screenWidth->setValue(s.screenWidth);
    m_screenHeight->setValue(s.screenHeight);
    m_paperWidth->setValue(s.paperWidth);
    m_paperHeight->setValue(s.paperHeight);
    m_direction->setCurrentText(s.landscape ? landscape : portrait);
    m_loading = false;
    updateCentimetres();
}

void PrintOffsetWindow::updateCentimetres()
{
    m_xCm->setText(TemplateOffset::centimetres(m_x->value()));
    m_yCm->setText(TemplateOffset::centimetres(m_y->value()));
    m_paperWidthCm->setText(TemplateOffset::centimetres(m_paperWidth->value()));
    m_paperHeightCm->setText(TemplateOffset::centimetres(m_paperHeight->value()));
}

void PrintOffsetWindow::saveBoxes(bool fromButton)
{
    const WholeTemplateSettings values = boxes();
    if (const QString fault = TemplateOffset::rangeFault(values); !fault.isEmpty()) {
        // Values the paper cannot take are refused aloud and shown as stored.
        m_core.dialogs().info(fault);
        loadParam();
        return;
    }
    const TemplateOffset::Outcome outcome = m_offsets.save(m_templateId, values);
    if (outcome == TemplateOffset::Outcome::Failed) {
        m_core.dialogs().message(TemplateOffset::outcomeText(outcome) + QLatin1Char('\n') + m_offsets.errorText(),
                                 QStringLiteral("提示"), Dialogs::Icon::Warning);
        close();
        return;
    }
    if (!fromButton) {
        setWindowTitle(TemplateOffset::outcomeText(outcome));
        return;
    }
    m_core.dialogs().message(TemplateOffset::outcomeText(outcome), QStringLiteral("提示"),
                             Dialogs::Icon::Information);
    setWindowTitle(m_typeName->text());
}

void PrintOffsetWindow::saveClicked()
{
    if (m_templateId <= 0) {
        m_core.dialogs().info(QStringLiteral("请选择要设置的票据类型！"));
        return;
    }
    saveBoxes(true);
}

void PrintOffsetWindow::autoSave()
{
    if (m_loading || m_templateId <= 0)
        return;
    saveBoxes(false);
}

void PrintOffsetWindow::arrowClicked(bool xAxis, bool up)
{
    if (m_templateId <= 0) {
        m_core.dialogs().info(QStringLiteral("请在左侧选择要设置的快递单据！"));
        return;
    }
    QSpinBox *box = xAxis ? m_x : m_y;
    m_loading = true;
    box->setValue(box->value() + (xAxis ? TemplateOffset::xStep(up) : TemplateOffset::yStep(up)));
    m_loading = false;
    saveBoxes(false);
}

void PrintOffsetWindow::openPreview()
{
    if (m_templateId <= 0) {
        m_core.dialogs().info(QStringLiteral("请选择要设置的票据类型！"));
        return;
    }
    PrintPreviewWindow preview(m_core, m_templateId, this);
    if (!preview.isUsable())
        return;
    connect(&preview, &PrintPreviewWindow::offsetSaved, this, &PrintOffsetWindow::loadParam);
    preview.exec();
}

void PrintOffsetWindow::showFeedPicture(const QString &file)
{
    ImageViewer viewer(m_core, this);
    viewer.loadPicture(m_core.dir().imageDir() + file, QSize(400, 400));
    viewer.exec();
}

void PrintOffsetWindow::printGrid()
{
    if (m_templateId <= 0) {
        m_core.dialogs().info(QStringLiteral("请选择要设置的票据类型！"));
        return;
    }
    templates::TemplateCatalog catalog(m_core.db(), m_core.dialogs(), m_core.store());
    const std::optional<templates::TemplateRow> row = catalog.templateById(m_templateId);
    if (!row)
        return;
    const QList<templates::PrintItem> items = templates::PrintItemStore(m_core.db()).itemList(m_templateId);
    print::PageSetup setup;
    setup.landscape = row->landscape();
    setup.paperWidth = row->effectivePaperWidth();
    setup.paperHeight = row->effectivePaperHeight();
    setup.title = QStringLiteral("对齐网格");
    printTestPage(m_core, {}, QStringLiteral("对齐网格.pdf"), setup,
                  [&](print::Canvas &canvas) { design::drawAlignmentGrid(canvas, *row, items); });
}

bool PrintOffsetWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonDblClick) {
        for (QSpinBox *box : {m_screenWidth, m_screenHeight})
            if (watched == box->findChild<QLineEdit *>())
                box->setReadOnly(!box->isReadOnly());
    }
    return QDialog::eventFilter(watched, event);
}

void PrintOffsetWindow::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (m_placed)
        return;
    m_placed = true;
    const settings::IniFile &ini = m_core.settings().file();
    if (ini.contains(positionSection, QStringLiteral("PositionX")))
        move(ini.value(positionSection, QStringLiteral("PositionX")).toInt(),
             ini.value(positionSection, QStringLiteral("PositionY")).toInt());
}

void PrintOffsetWindow::closeEvent(QCloseEvent *event)
{
    settings::IniFile &ini = m_core.settings().file();
    ini.setValue(positionSection, QStringLiteral("PositionX"), QString::number(x()));
    ini.setValue(positionSection, QStringLiteral("PositionY"), QString::number(y()));
    m_core.settings().flush();
    QDialog::closeEvent(event);
}

} // namespace moque::ui
