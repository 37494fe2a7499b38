#include "designers/PrintPreviewWindow.h"

#include "app/AppCore.h"
#include "common/Dialogs.h"
#include "design/TemplateOffset.h"
#include "designers/PreviewCanvas.h"
#include "dialogs/CommandButton.h"
#include "templates/TemplateCatalog.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QScrollArea>
#include <QSpinBox>
#include <QStandardItemModel>
#include <QTableView>
#include <QVBoxLayout>

namespace moque::ui {

using design::TemplateOffset;

namespace {
enum Column { IdColumn, NameColumn, LabelColumn, TextColumn };
}

PrintPreviewWindow::PrintPreviewWindow(app::AppCore &core, int templateId, QWidget *parent)
    : QDialog(parent)
    , m_core(core)
    , m_texts(core.db())
    , m_templateId(templateId)
{
    setObjectName(QStringLiteral("fm_PrintPreview"));
    setWindowTitle(QStringLiteral("未知的单据"));
    m_dpi = logicalDpiX() > 0 ? logicalDpiX() : 96;

    const auto offsetBox = [this](const char *name) {
        auto *box = new QSpinBox(this);
        box->setObjectName(QLatin1String(name));
        box->setRange(design::offsetRange::moveMin, design::offsetRange::moveMax);
        connect(box, &QSpinBox::valueChanged, this, &PrintPreviewWindow::offsetChanged);
        return box;
    };
    m_x = offsetBox("edtXMove");
    m_y = offsetBox("edtYMove");
    m_xCm = new QLabel(this);
    m_xCm->setObjectName(QStringLiteral("lbXMoveCm"));
    m_yCm = new QLabel(this);
    m_yCm->setObjectName(QStringLiteral("lbYMoveCm"));
    m_ignore = new QCheckBox(QStringLiteral("忽略整体偏移预览"), this);
    m_ignore->setObjectName(QStringLiteral("ckIgnoreOffset"));
    m_note = new QLabel(this);
    m_note->setObjectName(QStringLiteral("lbNote"));
    m_note->setStyleSheet(QStringLiteral("color: #b02a2a;"));
    QPushButton *save = commandButton(QStringLiteral("保存整体偏移"), QStringLiteral("btSaveOffset"), this);
    QPushButton *data = commandButton(QStringLiteral("修改预览数据"), QStringLiteral("btData"), this);
    QPushButton *done = commandButton(QStringLiteral("关  闭"), QStringLiteral("btClose"), this);

    auto *bar = new QHBoxLayout;
    bar->addWidget(new QLabel(QStringLiteral("整体打印右移："), this));
    bar->addWidget(m_x);
    bar->addWidget(m_xCm);
    bar->addSpacing(12);
    bar->addWidget(new QLabel(QStringLiteral("整体打印下移："), this));
    bar->addWidget(m_y);
    bar->addWidget(m_yCm);
    bar->addSpacing(12);
    bar->addWidget(m_ignore);
    bar->addSpacing(12);
    bar->addWidget(m_note);
    bar->addStretch();
    bar->addWidget(save);
    bar->addWidget(data);
    bar->addWidget(done);

    m_canvas = new PreviewCanvas(this);
    auto *scroll = new QScrollArea(this);
    scroll->setWidget(m_canvas);
    scroll->setWidgetResizable(true);

    m_model = new QStandardItemModel(0, 4, this);
    m_model->setHorizontalHeaderLabels(
        {QStringLiteral("ID"), QStringLiteral("CtlName"), QStringLiteral("项目名"), QStringLiteral("内容")});
    m_grid = new QTableView(this);
    m_grid->setObjectName(QStringLiteral("gridData"));
    m_grid->setModel(m_model);
    m_grid->setColumnHidden(IdColumn, true);
    m_grid->setColumnHidden(NameColumn, true);
    m_grid->setColumnWidth(LabelColumn, 80);
    m_grid->setColumnWidth(TextColumn, 400);
    m_grid->horizontalHeader()->setStretchLastSection(true);
    m_grid->setMaximumWidth(520);
    m_grid->hide();

    auto *body = new QHBoxLayout;
    body->addWidget(scroll, 1);
    body->addWidget(m_grid);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(bar);
    layout->addLayout(body, 1);

    connect(m_ignore, &QCheckBox::toggled, this, &PrintPreviewWindow::offsetChanged);
    connect(save, &QPushButton::clicked, this, &PrintPreviewWindow::saveOffset);
    connect(data, &QPushButton::clicked, this, &PrintPreviewWindow::toggleData);
    connect(done, &QPushButton::clicked, this, &QDialog::close);
    connect(m_model, &QStandardItemModel::itemChanged, this, [this](QStandardItem *item) {
        if (!m_filling && item->column() == TextColumn)
            testTextEdited(item->row());
    });
    resize(1100, 720);

    if (m_templateId <= 0)
        return;
    templates::TemplateCatalog catalog(core.db(), core.dialogs(), core.store());
    const std::optional<templates::TemplateRow> row = catalog.templateById(m_templateId);
    if (!row || row->kind.trimmed().isEmpty()) {
        core.dialogs().info(QStringLiteral("没有找到对应的单据信息~"));
        m_usable = false;
        return;
    }
    m_row = *row;
    setWindowTitle(QStringLiteral("【") + m_row.fullName + QStringLiteral("】打印预览"));
    const QSignalBlocker blockX(m_x);
    const QSignalBlocker blockY(m_y);
    m_x->setValue(m_row.xMove);
    m_y->setValue(m_row.yMove);
    offsetChanged();
}

PrintPreviewWindow::~PrintPreviewWindow() = default;

void PrintPreviewWindow::offsetChanged()
{
    m_xCm->setText(TemplateOffset::centimetres(m_x->value()));
    m_yCm->setText(TemplateOffset::centimetres(m_y->value()));
    redraw();
}

void PrintPreviewWindow::redraw()
{
    if (m_templateId <= 0 || !m_usable)
        return;
    const bool ignore = m_ignore->isChecked();
    const int x = ignore ? 0 : m_x->value();
    const int y = ignore ? 0 : m_y->value();
    design::BillPreview preview(m_core, m_dpi);
    if (!preview.render(m_templateId, x, y))
        return;
    m_canvas->setPanelOffset(x, y);
    m_canvas->setPaper(m_row.effectivePaperWidth(), m_row.effectivePaperHeight());
    m_canvas->setPreview(preview.image(), preview.items(), m_dpi);
    m_note->setText(preview.items().isEmpty() ? QStringLiteral("该模板没有可打印的项目，请在设计模式中添加")
                                              : QString());
}

void PrintPreviewWindow::saveOffset()
{
    if (m_templateId <= 0 || !m_usable)
        return;
    TemplateOffset offsets(m_core.db());
    const TemplateOffset::Outcome outcome = offsets.saveOffset(m_templateId, m_x->value(), m_y->value());
    if (outcome == TemplateOffset::Outcome::Failed) {
        m_core.dialogs().message(offsets.errorText(), QStringLiteral("提示"), Dialogs::Icon::Warning);
        return;
    }
    m_core.dialogs().info(TemplateOffset::outcomeText(outcome));
    Q_EMIT offsetSaved();
}

void PrintPreviewWindow::toggleData()
{
    if (m_grid->isVisible()) {
        m_grid->hide();
        return;
    }
    fillData();
    m_grid->show();
}

void PrintPreviewWindow::fillData()
{
    m_filling = true;
    m_model->removeRows(0, m_model->rowCount());
    for (const design::TestTexts::Row &r : m_texts.rows(m_row.kind)) {
        QList<QStandardItem *> cells{new QStandardItem(QString::number(r.id)), new QStandardItem(r.name),
                                     new QStandardItem(r.label), new QStandardItem(r.text)};
        for (int c = 0; c < TextColumn; ++c)
            cells[c]->setEditable(false);
        m_model->appendRow(cells);
    }
    m_filling = false;
}

void PrintPreviewWindow::testTextEdited(int row)
{
    const int id = m_model->item(row, IdColumn)->text().toInt();
    if (!m_texts.setText(id, m_model->item(row, TextColumn)->text())) {
        m_core.dialogs().message(m_texts.errorText(), QStringLiteral("提示"), Dialogs::Icon::Warning);
        return;
    }
    redraw();
}

} // namespace moque::ui
