#include "designers/PrintLayoutDesigner.h"

#include "app/AppCore.h"
#include "app/PrintJob.h"
#include "common/Dialogs.h"
#include "designers/LayoutCanvas.h"
#include "print/SystemPrintDevice.h"
#include "print/Units.h"
#include "print/ValueSource.h"

#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QScreen>
#include <QFontDatabase>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QShortcut>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTabWidget>
#include <QVBoxLayout>
#include <QWheelEvent>

namespace moque::ui {

using design::BatchOp;
using design::MoveDirection;

namespace {

const QString kMultiLineOff = QStringLiteral("需换行,超过       个汉字换行打印");

QPushButton *button(const QString &caption, const char *name, QWidget *parent)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(QLatin1String(name));
    b->setAutoDefault(false);
    return b;
}

QSpinBox *spin(const char *name, int min, int max, QWidget *parent)
{
    auto *s = new QSpinBox(parent);
    s->setObjectName(QLatin1String(name));
    s->setRange(min, max);
    // Typing writes once, when the value is confirmed; the arrows write each step.
    s->setKeyboardTracking(false);
    return s;
}

// Installed faces; names beginning with "@" are vertical variants of others.
QStringList installedFonts()
{
    QStringList fonts;
    const QStringList families = QFontDatabase::families();
    for (const QString &f : families)
        if (!f.startsWith(QLatin1Char('@')))
            fonts << f;
    return fonts;
}

// Selects the text in a combo box, adding it when the list lacks it.
void showInCombo(QComboBox *combo, const QString &text)
{
    int i = combo->findText(text);
    if (i < 0) {
        combo->insertItem(0, text);
        i = 0;
    }
    combo->setCurrentIndex(i);
}

} // namespace

PrintLayoutDesigner::PrintLayoutDesigner(app::AppCore &core, int templateId, QWidget *parent)
    : QDialog(parent),
      m_core(core),
      m_history(std::make_unique<design::DesignHistory>(core.db())),
      m_layout(std::make_unique<design::PrintLayout>(core.db(), *m_history))
{
    setObjectName(QStringLiteral("fmTemplateDesigner"));
    setModal(true);
    if (!m_layout->open(templateId)) {
        m_core.dialogs().info(m_layout->errorText());
        return;
    }
    m_usable = true;
    setWindowTitle(m_layout->title());
    buildUi();

    m_loading = true;
    m_paperWidth->setText(QString::number(m_layout->pageWidth() / 100.0));
    m_paperHeight->setText(QString::number(m_layout->pageHeight() / 100.0));
    m_loading = false;
    m_allNames->addItems(m_layout->availableEntries());
    m_groups->addItems(m_layout->groups());
    m_groups->setCurrentIndex(m_groups->count() - 1);

    const QString picture = m_layout->imageFile().isEmpty() ? QString()
                                                             : m_core.dir().imageDir() + m_layout->imageFile();
    QPixmap pixmap;
    m_pictureFound = !picture.isEmpty() && QFileInfo::exists(picture) && pixmap.load(picture);
    m_canvas->setBackground(pixmap);
    relayout();
    syncSelection();

    connect(m_history.get(), &design::DesignHistory::applied, this, &PrintLayoutDesigner::historyApplied);
    connect(m_history.get(), &design::DesignHistory::failed, this, &PrintLayoutDesigner::showMessage);

    // The form's picture at a size a user can work on, within the screen.
    const QSize wanted(1280, 860);
    resize(screen() ? wanted.boundedTo(screen()->availableSize()) : wanted);
}

PrintLayoutDesigner::~PrintLayoutDesigner()
{
    // The history's commands go before the widgets their signals reach.
    if (m_history)
        m_history->disconnect(this);
}

QString PrintLayoutDesigner::statusMessage() const
{
    return m_statusMessage ? m_statusMessage->text() : QString();
}

void PrintLayoutDesigner::buildUi()
{
    auto *root = new QVBoxLayout(this);
    m_title = new QLabel(m_layout->title(), this);
    m_title->setObjectName(QStringLiteral("lbTitle"));
    m_fullScreen = button(QStringLiteral("满屏"), "btFullScreen", this);
    connect(m_fullScreen, &QPushButton::clicked, this, &PrintLayoutDesigner::toggleFullScreen);
    auto *top = new QHBoxLayout;
    top->addWidget(m_title, 1);
    top->addWidget(m_fullScreen);
    root->addLayout(top);

    auto *body = new QHBoxLayout;
    m_canvas = new LayoutCanvas(this);
    m_canvasArea = new QScrollArea(this);
    m_canvasArea->setObjectName(QStringLiteral("sbCanvas"));
    m_canvasArea->setWidget(m_canvas);
    m_canvasArea->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    body->addWidget(m_canvasArea, 1);

    auto *sidePanel = new QWidget(this);
    sidePanel->setObjectName(QStringLiteral("pnlSide"));
    auto *side = new QVBoxLayout(sidePanel);
    side->setContentsMargins(0, 0, 0, 0);
    side->addWidget(buildSelectionBox());
    side->addWidget(buildToolBox());
    m_panels = new QStackedWidget(sidePanel);
    m_panels->addWidget(buildPropertyPanel());
    m_panels->addWidget(buildBatchPages());
    side->addWidget(m_panels);
    side->addStretch(1);
    auto *sideArea = new QScrollArea(this);
    sideArea->setWidgetResizable(true);
    sideArea->setWidget(sidePanel);
    sideArea->setMinimumWidth(360);
    body->addWidget(sideArea);
    m_side = sideArea;
    root->addLayout(body, 1);

    auto *status = new QStatusBar(this);
    status->setObjectName(QStringLiteral("StatusBar1"));
    status->setSizeGripEnabled(false);
    m_statusPage = new QLabel(m_layout->pageText(), status);
    m_statusPage->setObjectName(QStringLiteral("lbStatusPage"));
    m_statusMessage = new QLabel(status);
    m_statusMessage->setObjectName(QStringLiteral("lbStatusMessage"));
    status->addWidget(m_statusPage);
    status->addWidget(m_statusMessage, 1);
    root->addWidget(status);

    connect(m_canvas, &LayoutCanvas::labelPressed, this, [this](const QString &name) {
        m_selection.click(name);
        syncSelection();
    });
    connect(m_canvas, &LayoutCanvas::labelDoubleClicked, this, [this](const QString &name) {
        if (m_selection.multiple())
            m_panels->setCurrentWidget(m_propertyPanel);
        m_selection.doubleClickLabel(name);
        syncSelection();
    });
    connect(m_canvas, &LayoutCanvas::dragMoved, this, [this](const QString &, const QPoint &origin) {
        // The boxes follow the drag; nothing is written before the release.
        m_loading = true;
        m_x->setValue(print::canvasToTenths(origin.x(), m_scale.ratioX));
        m_y->setValue(print::canvasToTenths(origin.y(), m_scale.ratioX));
        m_loading = false;
    });
    connect(m_canvas, &LayoutCanvas::dragFinished, this, [this](const QString &, const QPoint &origin) {
        m_loading = true;
        m_x->setValue(print::canvasToTenths(origin.x(), m_scale.ratioX));
        m_y->setValue(print::canvasToTenths(origin.y(), m_scale.ratioX));
        m_loading = false;
        saveItem();
    });
    connect(m_canvas, &LayoutCanvas::nudge, this, &PrintLayoutDesigner::moveSelected);

    auto *undo = new QShortcut(QKeySequence::Undo, this);
    connect(undo, &QShortcut::activated, this, [this] { m_history->stack().undo(); });
    auto *redo = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Y), this);
    connect(redo, &QShortcut::activated, this, [this] { m_history->stack().redo(); });
    connect(&m_history->stack(), &QUndoStack::canUndoChanged, m_undo, &QWidget::setEnabled);
    connect(&m_history->stack(), &QUndoStack::canRedoChanged, m_redo, &QWidget::setEnabled);
    connectPropertyPanel();
}

QWidget *PrintLayoutDesigner::buildSelectionBox()
{
    auto *box = new QGroupBox(QStringLiteral("选取"), this);
    box->setObjectName(QStringLiteral("gbSelect"));
    auto *grid = new QGridLayout(box);
    m_single = new QRadioButton(QStringLiteral("单选"), box);
    m_single->setObjectName(QStringLiteral("rbSingle"));
    m_multi = new QRadioButton(QStringLiteral("多选"), box);
    m_multi->setObjectName(QStringLiteral("rbMulti"));
    m_single->setChecked(true);
    m_groups = new QComboBox(box);
    m_groups->setObjectName(QStringLiteral("cbSelGroup"));
    m_groups->setEditable(true);
    m_groups->setInsertPolicy(QComboBox::NoInsert);
    m_groups->setToolTip(design::PrintLayout::groupHint());
    m_groups->setEnabled(false);
    auto *example = new QLabel(QStringLiteral("例如: 数量*"), box);
    grid->addWidget(m_single, 0, 0);
    grid->addWidget(m_multi, 0, 1);
    grid->addWidget(m_groups, 1, 0, 1, 2);
    grid->addWidget(example, 2, 0, 1, 2);

    m_allNames = new QListWidget(box);
    m_allNames->setObjectName(QStringLiteral("lstAllCtlNames"));
    m_allNames->setContextMenuPolicy(Qt::ActionsContextMenu);
    m_selectedNames = new QListWidget(box);
    m_selectedNames->setObjectName(QStringLiteral("lstSelectedNames"));
    m_selectedNames->setContextMenuPolicy(Qt::ActionsContextMenu);
    grid->addWidget(new QLabel(QStringLiteral("可用的:"), box), 3, 0);
    grid->addWidget(new QLabel(QStringLiteral("选中的:"), box), 3, 1);
    grid->addWidget(m_allNames, 4, 0);
    grid->addWidget(m_selectedNames, 4, 1);
    m_allNames->viewport()->installEventFilter(this);
    m_selectedNames->viewport()->installEventFilter(this);

    connect(m_single, &QRadioButton::toggled, this, [this](bool on) {
        if (!on)
            return;
        m_selection.setMultiple(false);
        m_groups->setCurrentIndex(m_groups->count() - 1);
        m_groups->setEnabled(false);
        syncSelection();
    });
    connect(m_multi, &QRadioButton::toggled, this, [this](bool on) {
        if (!on)
            return;
        m_selection.setMultiple(true);
        m_groups->setEnabled(true);
        m_panels->setCurrentWidget(m_batchPages);
    });
    connect(m_groups, &QComboBox::activated, this, [this](int index) { chooseGroup(m_groups->itemText(index)); });
    connect(m_groups->lineEdit(), &QLineEdit::returnPressed, this, [this] { chooseGroup(m_groups->currentText()); });

    connect(m_allNames, &QListWidget::itemClicked, this, [this](QListWidgetItem *entry) {
        if (m_selection.size() != 0)
            return;
        m_selection.add(design::PrintLayout::nameOfEntry(entry->text()));
        syncSelection();
    });
    connect(m_allNames, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem *entry) {
        m_selection.doubleClickEntry(design::PrintLayout::nameOfEntry(entry->text()));
        syncSelection();
    });
    auto *selectAll = new QAction(QStringLiteral("全选"), m_allNames);
    selectAll->setObjectName(QStringLiteral("actSelectAll"));
    connect(selectAll, &QAction::triggered, this, [this] {
        m_selection.selectAll(allItemNames());
        m_multi->setChecked(true);
        syncSelection();
    });
    auto *invert = new QAction(QStringLiteral("反选"), m_allNames);
    invert->setObjectName(QStringLiteral("actInvertSelection"));
    connect(invert, &QAction::triggered, this, [this] {
        m_selection.invert(allItemNames());
        if (m_selection.multiple())
            m_multi->setChecked(true);
        syncSelection();
    });
    m_allNames->addActions({selectAll, invert});
    auto *clear = new QAction(QStringLiteral("清空选择"), m_selectedNames);
    clear->setObjectName(QStringLiteral("actClearSelection"));
    connect(clear, &QAction::triggered, this, [this] {
        m_selection.clear();
        syncSelection();
    });
    m_selectedNames->addAction(clear);
    return box;
}

QWidget *PrintLayoutDesigner::buildToolBox()
{
    auto *box = new QWidget(this);
    auto *grid = new QGridLayout(box);
    grid->setContentsMargins(0, 0, 0, 0);

    m_step = spin("StepLenth", 1, 100, box);
    m_step->setValue(5);
    m_stepText = new QLabel(QStringLiteral("0.5mm"), box);
    m_stepText->setObjectName(QStringLiteral("lbStepLenth"));
    auto *steps = new QHBoxLayout;
    steps->addWidget(new QLabel(QStringLiteral("步长:"), box));
    steps->addWidget(m_step);
    steps->addWidget(m_stepText);
    for (const int mm : {1, 2, 3, 5, 10}) {
        auto *quick = button(QString::number(mm), "", box);
        quick->setObjectName(QStringLiteral("btStep%1").arg(mm));
        quick->setFlat(true);
        quick->setMaximumWidth(28);
        connect(quick, &QPushButton::clicked, this, [this, mm] { setStep(10 * mm); });
        steps->addWidget(quick);
    }
    grid->addLayout(steps, 0, 0, 1, 4);
    connect(m_step, &QSpinBox::valueChanged, this, &PrintLayoutDesigner::setStep);

    const std::pair<const char *, MoveDirection> moves[] = {{"btUp", MoveDirection::Up},
                                                        {"btDown", MoveDirection::Down},
                                                        {"btLeft", MoveDirection::Left},
                                                        {"btRight", MoveDirection::Right}};
    const QStringList moveCaptions{QStringLiteral("上移"), QStringLiteral("下移"), QStringLiteral("左移"),
                                   QStringLiteral("右移")};
    for (int i = 0; i < 4; ++i) {
        QPushButton *b = button(moveCaptions[i], moves[i].first, box);
        const MoveDirection d = moves[i].second;
        connect(b, &QPushButton::clicked, this, [this, b, d] {
            b->setEnabled(false);
            moveSelected(d);
            b->setEnabled(true);
        });
        grid->addWidget(b, 1, i);
    }

    m_ratioX = new QLineEdit(box);
    m_ratioX->setObjectName(QStringLiteral("edtRatioX"));
    m_ratioX->setReadOnly(true);
    m_ratioY = new QLineEdit(box);
    m_ratioY->setObjectName(QStringLiteral("edtRatioY"));
    m_ratioY->setReadOnly(true);
    QPushButton *calc = button(QStringLiteral("计算"), "btCalc", box);
    grid->addWidget(new QLabel(QStringLiteral("毫米/像数比X:"), box), 2, 0);
    grid->addWidget(m_ratioX, 2, 1);
    grid->addWidget(new QLabel(QStringLiteral("Y:"), box), 2, 2);
    grid->addWidget(m_ratioY, 2, 3);
    grid->addWidget(calc, 3, 3);
    connect(calc, &QPushButton::clicked, this, [this] {
        m_scale.ratioX = m_layout->pageWidth() / 10.0 / m_canvas->width();
        m_scale.ratioY = m_layout->pageHeight() / 10.0 / m_canvas->height();
        m_ratioX->setText(QString::number(m_scale.ratioX, 'f', 4));
        m_ratioY->setText(QString::number(m_scale.ratioY, 'f', 4));
    });

    m_zoomBox = new QComboBox(box);
    m_zoomBox->setObjectName(QStringLiteral("cbZoom"));
    m_zoomBox->setEditable(true);
    m_zoomBox->setInsertPolicy(QComboBox::NoInsert);
    m_zoomBox->addItems({QStringLiteral("150"), QStringLiteral("120"), QStringLiteral("100"), QStringLiteral("80"),
                         QStringLiteral("50")});
    m_zoomBox->setCurrentIndex(2);
    grid->addWidget(new QLabel(QStringLiteral("缩放%:"), box), 3, 0);
    grid->addWidget(m_zoomBox, 3, 1);
    connect(m_zoomBox, &QComboBox::activated, this, [this](int i) { setZoom(m_zoomBox->itemText(i)); });
    connect(m_zoomBox->lineEdit(), &QLineEdit::editingFinished, this,
            [this] { setZoom(m_zoomBox->currentText()); });

    m_transparent = new QCheckBox(QStringLiteral("透明底色"), box);
    m_transparent->setObjectName(QStringLiteral("ckTransparent"));
    connect(m_transparent, &QCheckBox::toggled, m_canvas, &LayoutCanvas::setTransparent);
    QPushButton *browse = button(QStringLiteral("浏览"), "btBrowse", box);
    connect(browse, &QPushButton::clicked, this, &PrintLayoutDesigner::browsePicture);
    QPushButton *testPrint = button(QStringLiteral("打印测试"), "btTestPrint", box);
    connect(testPrint, &QPushButton::clicked, this, &PrintLayoutDesigner::testPrint);
    grid->addWidget(m_transparent, 4, 0);
    grid->addWidget(browse, 4, 1);
    grid->addWidget(testPrint, 4, 3);

    m_undo = button(QStringLiteral("撤销"), "btUndo", box);
    m_redo = button(QStringLiteral("重做"), "btRedo", box);
    m_undo->setEnabled(false);
    m_redo->setEnabled(false);
    connect(m_undo, &QPushButton::clicked, this, [this] { m_history->stack().undo(); });
    connect(m_redo, &QPushButton::clicked, this, [this] { m_history->stack().redo(); });
    grid->addWidget(m_undo, 5, 0);
    grid->addWidget(m_redo, 5, 1);

    m_paperWidth = new QLineEdit(box);
    m_paperWidth->setObjectName(QStringLiteral("edtPWidth"));
    m_paperHeight = new QLineEdit(box);
    m_paperHeight->setObjectName(QStringLiteral("edtPHeight"));
    QPushButton *savePaper = button(QStringLiteral("【保存票据设置】"), "btSavePaper", box);
    connect(savePaper, &QPushButton::clicked, this, &PrintLayoutDesigner::savePaper);
    grid->addWidget(new QLabel(QStringLiteral("底图宽(厘米):"), box), 6, 0);
    grid->addWidget(m_paperWidth, 6, 1);
    grid->addWidget(new QLabel(QStringLiteral("长(厘米):"), box), 6, 2);
    grid->addWidget(m_paperHeight, 6, 3);
    grid->addWidget(savePaper, 7, 2, 1, 2);
    return box;
}

QWidget *PrintLayoutDesigner::buildPropertyPanel()
{
    m_propertyPanel = new QWidget(this);
    m_propertyPanel->setObjectName(QStringLiteral("pnlProperty"));
    auto *form = new QGridLayout(m_propertyPanel);
    form->setContentsMargins(0, 0, 0, 0);
    QWidget *p = m_propertyPanel;

    m_x = spin("edtCtlX", 0, 3000, p);
    m_y = spin("edtCtlY", 0, m_layout->pageHeight() - 5, p);
    m_w = spin("edtCtlW", 0, 3000, p);
    m_h = spin("edtCtlH", 0, 3000, p);
    for (QSpinBox *s : {m_x, m_y, m_w, m_h})
        s->setSingleStep(5);
    form->addWidget(new QLabel(QStringLiteral("距左:"), p), 0, 0);
    form->addWidget(m_x, 0, 1);
    form->addWidget(new QLabel(QStringLiteral("距顶:"), p), 0, 2);
    form->addWidget(m_y, 0, 3);
    form->addWidget(new QLabel(QStringLiteral("区域宽:"), p), 1, 0);
    form->addWidget(m_w, 1, 1);
    form->addWidget(new QLabel(QStringLiteral("区域高:"), p), 1, 2);
    form->addWidget(m_h, 1, 3);

    m_fontName = new QComboBox(p);
    m_fontName->setObjectName(QStringLiteral("cbFontName"));
    const QStringList fonts = installedFonts();
    m_fontName->addItems(fonts);
    if (fonts.isEmpty())
        showMessage(QStringLiteral("载入字体库异常！"));
    m_fontSize = spin("edtFontSize", 6, 20, p);
    form->addWidget(new QLabel(QStringLiteral("打印字体:"), p), 2, 0);
    form->addWidget(m_fontName, 2, 1, 1, 3);
    form->addWidget(new QLabel(QStringLiteral("字号:"), p), 3, 0);
    form->addWidget(m_fontSize, 3, 1);

    m_bold = new QCheckBox(QStringLiteral("粗体"), p);
    m_bold->setObjectName(QStringLiteral("ckBold"));
    m_italic = new QCheckBox(QStringLiteral("斜体"), p);
    m_italic->setObjectName(QStringLiteral("ckItalic"));
    m_underline = new QCheckBox(QStringLiteral("下划线"), p);
    m_underline->setObjectName(QStringLiteral("ckUnderLine"));
    auto *styles = new QHBoxLayout;
    styles->addWidget(m_bold);
    styles->addWidget(m_italic);
    styles->addWidget(m_underline);
    form->addLayout(styles, 4, 0, 1, 4);

    m_alignLeft = new QRadioButton(QStringLiteral("左对齐"), p);
    m_alignLeft->setObjectName(QStringLiteral("rbAlignLeft"));
    m_alignCenter = new QRadioButton(QStringLiteral("居中"), p);
    m_alignCenter->setObjectName(QStringLiteral("rbAlignCenter"));
    m_alignRight = new QRadioButton(QStringLiteral("右对齐"), p);
    m_alignRight->setObjectName(QStringLiteral("rbAlignRight"));
    auto *alignGroup = new QButtonGroup(p);
    alignGroup->addButton(m_alignLeft, 0);
    alignGroup->addButton(m_alignCenter, 1);
    alignGroup->addButton(m_alignRight, 2);
    auto *aligns = new QHBoxLayout;
    aligns->addWidget(m_alignLeft);
    aligns->addWidget(m_alignCenter);
    aligns->addWidget(m_alignRight);
    form->addLayout(aligns, 5, 0, 1, 4);
    connect(alignGroup, &QButtonGroup::idToggled, this, [this](int id, bool on) {
        if (on)
            saveProperty(QStringLiteral("Align"), QString::number(id));
    });

    m_multiLine = new QCheckBox(kMultiLineOff, p);
    m_multiLine->setObjectName(QStringLiteral("ckMutiLineOn"));
    m_breakNum = spin("edtBreakNum", 1, 200, p);
    m_lineHeight = spin("edtLineH", 25, 200, p);
    m_breakFontSize = spin("edtFontSizeBreak", 6, 20, p);
    form->addWidget(m_multiLine, 6, 0, 1, 3);
    form->addWidget(m_breakNum, 6, 3);
    m_lineHeightLabel = new QLabel(QStringLiteral("行高:"), p);
    m_breakFontSizeLabel = new QLabel(QStringLiteral("换行字号:"), p);
    form->addWidget(m_lineHeightLabel, 7, 0);
    form->addWidget(m_lineHeight, 7, 1);
    form->addWidget(m_breakFontSizeLabel, 7, 2);
    form->addWidget(m_breakFontSize, 7, 3);

    m_widthAve = new QCheckBox(QStringLiteral("等宽分布打印,"), p);
    m_widthAve->setObjectName(QStringLiteral("ckWidthAveOn"));
    m_aveWidth = spin("edtAveWidth", 20, 200, p);
    form->addWidget(m_widthAve, 8, 0, 1, 2);
    m_aveWidthLabel = new QLabel(QStringLiteral("字宽:"), p);
    form->addWidget(m_aveWidthLabel, 8, 2);
    form->addWidget(m_aveWidth, 8, 3);

    m_testText = new QComboBox(p);
    m_testText->setObjectName(QStringLiteral("edtTestText"));
    m_testText->setEditable(true);
    m_testText->setInsertPolicy(QComboBox::NoInsert);
    m_testText->addItems({QStringLiteral("测试文字"), QStringLiteral("深圳市墨雀科技有限公司"),
                          QStringLiteral("13912345678"), QStringLiteral("广东省深圳市南山区科技园"),
                          QStringLiteral("1234.50")});
    QPushButton *testText = button(QStringLiteral("更新测试"), "btTestText", p);
    connect(testText, &QPushButton::clicked, this, &PrintLayoutDesigner::updateTestText);
    form->addWidget(new QLabel(QStringLiteral("测试值:"), p), 9, 0);
    form->addWidget(m_testText, 9, 1, 1, 2);
    form->addWidget(testText, 9, 3);

    m_defaultValue = new QLineEdit(p);
    m_defaultValue->setObjectName(QStringLiteral("edtDefaultValue"));
    form->addWidget(new QLabel(QStringLiteral("默认值："), p), 10, 0);
    form->addWidget(m_defaultValue, 10, 1, 1, 3);

    QPushButton *saveItemButton = button(QStringLiteral("【保存项目设置】"), "btSaveItem", p);
    connect(saveItemButton, &QPushButton::clicked, this, &PrintLayoutDesigner::saveItem);
    form->addWidget(saveItemButton, 11, 2, 1, 2);
    applyBreakUi(false);
    m_multiLine->setText(kMultiLineOff);
    applyWidthAveUi(false);
    m_widthAve->setText(QStringLiteral("等宽分布打印,"));
    return m_propertyPanel;
}

QWidget *PrintLayoutDesigner::buildBatchPages()
{
    m_batchPages = new QTabWidget(this);
    m_batchPages->setObjectName(QStringLiteral("pcBatch"));

    auto *sizePage = new QWidget(m_batchPages);
    auto *sizeRow = new QHBoxLayout(sizePage);
    m_batchFontSize = spin("edtBatchFontSize", 8, 20, sizePage);
    m_batchFontSize->setValue(11);
    QPushButton *applySize = button(QStringLiteral("批量应用"), "btBatchFontSize", sizePage);
    sizeRow->addWidget(new QLabel(QStringLiteral("字号:"), sizePage));
    sizeRow->addWidget(m_batchFontSize);
    sizeRow->addWidget(applySize);
    connect(applySize, &QPushButton::clicked, this,
            [this] { afterBatch(m_layout->setFontSize(m_selection.names(), m_batchFontSize->value())); });
    m_batchPages->addTab(sizePage, QStringLiteral("批量改字号"));

    auto *fontPage = new QWidget(m_batchPages);
    auto *fontRow = new QHBoxLayout(fontPage);
    m_batchFontName = new QComboBox(fontPage);
    m_batchFontName->setObjectName(QStringLiteral("cbBatchFontName"));
    m_batchFontName->addItems(installedFonts());
    m_batchFontName->setCurrentIndex(-1);
    QPushButton *applyFont = button(QStringLiteral("批量应用"), "btBatchFontName", fontPage);
    fontRow->addWidget(m_batchFontName, 1);
    fontRow->addWidget(applyFont);
    connect(applyFont, &QPushButton::clicked, this,
            [this] { afterBatch(m_layout->setFontName(m_selection.names(), m_batchFontName->currentText())); });
    m_batchPages->addTab(fontPage, QStringLiteral("批量改字体"));

    auto *alignPage = new QWidget(m_batchPages);
    auto *alignGrid = new QGridLayout(alignPage);
    const struct
    {
        const char *name;
        const char *caption;
        BatchOp op;
    } ops[] = {
        {"btAlignLeft", "最左对齐", BatchOp::AlignLeft},
        {"btAlignRight", "最右对齐", BatchOp::AlignRight},
        {"btAlignTop", "最顶对齐", BatchOp::AlignTop},
        {"btAlignBottom", "最底对齐", BatchOp::AlignBottom},
        {"btSameWidthMax", "等宽-最宽", BatchOp::SameWidthMax},
        {"btSameHeightMax", "等高-最高", BatchOp::SameHeightMax},
        {"btSameWidthMin", "等宽-最窄", BatchOp::SameWidthMin},
        {"btSameHeightMin", "等高-最矮", BatchOp::SameHeightMin},
        {"btWiden", "+宽", BatchOp::Widen},
        {"btNarrow", "-宽", BatchOp::Narrow},
        {"btHeighten", "+高", BatchOp::Heighten},
        {"btLower", "-高", BatchOp::Lower},
    };
    int i = 0;
    for (const auto &op : ops) {
        QPushButton *b = button(QString::fromUtf8(op.caption), op.name, alignPage);
        const BatchOp which = op.op;
        connect(b, &QPushButton::clicked, this, [this, which] { runBatch(which); });
        alignGrid->addWidget(b, i / 4, i % 4);
        ++i;
    }
    m_batchPages->addTab(alignPage, QStringLiteral("批量对齐、大小"));

    auto *distributePage = new QWidget(m_batchPages);
    auto *distGrid = new QGridLayout(distributePage);
    m_incWidth = spin("edtIncWidth", 20, 1000, distributePage);
    m_incWidth->setValue(40);
    m_incHeight = spin("edtIncHeight", 20, 1000, distributePage);
    m_incHeight->setValue(50);
    QPushButton *horizontal = button(QStringLiteral("批量应用-横向"), "btDistributeH", distributePage);
    QPushButton *vertical = button(QStringLiteral("批量应用-纵向"), "btDistributeV", distributePage);
    distGrid->addWidget(new QLabel(QStringLiteral("递增宽度:"), distributePage), 0, 0);
    distGrid->addWidget(m_incWidth, 0, 1);
    distGrid->addWidget(horizontal, 0, 2);
    distGrid->addWidget(new QLabel(QStringLiteral("递增高度:"), distributePage), 1, 0);
    distGrid->addWidget(m_incHeight, 1, 1);
    distGrid->addWidget(vertical, 1, 2);
    connect(horizontal, &QPushButton::clicked, this,
            [this] { afterBatch(m_layout->distribute(m_selection.names(), true, m_incWidth->value())); });
    connect(vertical, &QPushButton::clicked, this,
            [this] { afterBatch(m_layout->distribute(m_selection.names(), false, m_incHeight->value())); });
    m_batchPages->addTab(distributePage, QStringLiteral("批量纵向分布"));
    return m_batchPages;
}

void PrintLayoutDesigner::connectPropertyPanel()
{
    const auto intColumn = [this](QSpinBox *box, const QString &column) {
        connect(box, &QSpinBox::valueChanged, this, [this, column](int v) { saveProperty(column, v); });
    };
    intColumn(m_x, QStringLiteral("CtlX"));
    intColumn(m_y, QStringLiteral("CtlY"));
    intColumn(m_w, QStringLiteral("CtlW"));
    intColumn(m_h, QStringLiteral("CtlH"));
    intColumn(m_fontSize, QStringLiteral("CtlFontSize"));
    intColumn(m_lineHeight, QStringLiteral("CtlLH"));
    intColumn(m_breakFontSize, QStringLiteral("BreakFontSize"));
    connect(m_breakNum, &QSpinBox::valueChanged, this,
            [this](int v) { saveProperty(QStringLiteral("BreakNum"), QString::number(v)); });
    connect(m_aveWidth, &QSpinBox::valueChanged, this,
            [this](int v) { saveProperty(QStringLiteral("FitParam"), QString::number(v)); });
    connect(m_fontName, &QComboBox::activated, this,
            [this](int i) { saveProperty(QStringLiteral("CtlFontName"), m_fontName->itemText(i)); });
    const auto flagColumn = [this](QCheckBox *box, const QString &column) {
        connect(box, &QCheckBox::toggled, this, [this, column](bool on) { saveProperty(column, on ? 1 : 0); });
    };
    flagColumn(m_bold, QStringLiteral("Bold"));
    flagColumn(m_italic, QStringLiteral("Italic"));
    flagColumn(m_underline, QStringLiteral("UnderLine"));
    connect(m_defaultValue, &QLineEdit::editingFinished, this,
            [this] { saveProperty(QStringLiteral("InitValue"), m_defaultValue->text(), false); });

    connect(m_multiLine, &QCheckBox::toggled, this, [this](bool on) {
        applyBreakUi(on);
        const QString name = singleSelected();
        if (m_loading || name.isEmpty())
            return;
        const design::DesignResult r =
            on ? m_layout->saveColumns(name,
                                       {{QStringLiteral("BreakNum"), QString::number(m_breakNum->value())},
                                        {QStringLiteral("BreakFontSize"), m_breakFontSize->value()},
                                        {QStringLiteral("CtlLH"), m_lineHeight->value()}},
                                       QStringLiteral("需换行"))
               : m_layout->saveColumn(name, QStringLiteral("BreakNum"), QString());
        showResult(r);
        redrawItem(name);
    });
    connect(m_widthAve, &QCheckBox::toggled, this, [this](bool on) {
        applyWidthAveUi(on);
        const QString name = singleSelected();
        if (m_loading || name.isEmpty())
            return;
        showResult(m_layout->saveColumn(name, QStringLiteral("FitParam"),
                                        on ? QString::number(m_aveWidth->value()) : QString()));
        redrawItem(name);
        if (on)
            m_core.dialogs().info(QStringLiteral("等宽打印勾选后，需要修改字宽后才生效（大于25=2.5mm）！"));
    });
}

void PrintLayoutDesigner::applyBreakUi(bool on)
{
    m_multiLine->setText(on ? QStringLiteral("需换行,超过     汉字换行打印.") : QStringLiteral("无需换行打印."));
    m_breakNum->setVisible(on);
    m_lineHeight->setVisible(on);
    m_breakFontSize->setVisible(on);
    m_lineHeightLabel->setVisible(on);
    m_breakFontSizeLabel->setVisible(on);
}

void PrintLayoutDesigner::applyWidthAveUi(bool on)
{
    m_widthAve->setText(on ? QStringLiteral("需等宽打印,") : QStringLiteral("无需等宽打印."));
    m_aveWidth->setVisible(on);
    m_aveWidthLabel->setVisible(on);
}

void PrintLayoutDesigner::relayout()
{
    m_scale = m_layout->scale(m_zoom);
    m_canvas->setPageSize(m_scale.size);
    m_ratioX->setText(QString::number(m_scale.ratioX, 'f', 4));
    m_ratioY->setText(QString::number(m_scale.ratioY, 'f', 4));
    m_statusPage->setText(m_layout->pageText());
    m_y->setMaximum(m_layout->pageHeight() - 5);
    drawItems();
}

void PrintLayoutDesigner::drawItems()
{
    m_canvas->clearItems();
    m_items.clear();
    m_itemOrder.clear();
    const QList<design::DesignItem> items = m_layout->items(m_scale.ratioX);
    for (const design::DesignItem &item : items) {
        m_items.insert(item.name, item);
        m_itemOrder << item.name;
        m_canvas->setItemLabels(item.name,
                                QPoint(print::tenthsToCanvas(item.x, m_scale.ratioX),
                                       print::tenthsToCanvas(item.y, m_scale.ratioX)),
                                design::PrintLayout::labelsOf(item, m_scale.ratioX, 45));
    }
    m_canvas->setSelection(m_selection.names());
    showNotes();
}

void PrintLayoutDesigner::redrawItem(const QString &name)
{
    const std::optional<design::DesignItem> item = m_layout->item(name, m_scale.ratioX);
    if (!item) {
        showMessage(QStringLiteral("没有找到") + name);
        return;
    }
    m_items.insert(item->name, *item);
    m_canvas->setItemLabels(item->name,
                            QPoint(print::tenthsToCanvas(item->x, m_scale.ratioX),
                                   print::tenthsToCanvas(item->y, m_scale.ratioX)),
                            design::PrintLayout::labelsOf(*item, m_scale.ratioX, 50));
}

void PrintLayoutDesigner::showNotes()
{
    QStringList notes;
    if (!m_pictureFound)
        notes << QStringLiteral("该模板没有背景图片");
    if (m_items.isEmpty())
        notes << QStringLiteral("该模板没有可打印的项目");
    m_canvas->setNote(notes.join(QLatin1Char('\n')));
    if (!notes.isEmpty())
        showMessage(notes.join(QStringLiteral("；")));
}

void PrintLayoutDesigner::showMessage(const QString &text)
{
    if (m_statusMessage)
        m_statusMessage->setText(text);
}

void PrintLayoutDesigner::showResult(const design::DesignResult &result)
{
    if (!result.messages.isEmpty())
        showMessage(result.message());
}

QString PrintLayoutDesigner::singleSelected() const
{
    return m_selection.size() == 1 ? m_selection.names().first() : QString();
}

QString PrintLayoutDesigner::itemNameFor(const QString &name) const
{
    if (m_items.contains(name))
        return name;
    for (const QString &known : m_itemOrder)
        if (known.compare(name, Qt::CaseInsensitive) == 0)
            return known;
    return {};
}

QStringList PrintLayoutDesigner::allItemNames() const
{
    QStringList names;
    for (int i = 0; i < m_allNames->count(); ++i) {
        const QString name = itemNameFor(design::PrintLayout::nameOfEntry(m_allNames->item(i)->text()));
        if (!name.isEmpty())
            names << name;
    }
    return names;
}

void PrintLayoutDesigner::syncSelection()
{
    m_selectedNames->clear();
    for (const QString &name : m_selection.names()) {
        const auto it = m_items.constFind(name);
        m_selectedNames->addItem(it != m_items.constEnd() && !it->label.isEmpty()
                                     ? it->label + QLatin1Char('=') + name
                                     : m_layout->selectedEntry(name));
    }
    m_canvas->setSelection(m_selection.names());
    if (m_selection.size() >= 2)
        m_panels->setCurrentWidget(m_batchPages);
    else if (!m_selection.multiple() || m_selection.size() == 1)
        m_panels->setCurrentWidget(m_propertyPanel);
    if (m_selection.size() == 1)
        loadProperties(m_selection.names().first());
}

void PrintLayoutDesigner::loadProperties(const QString &name)
{
    const auto it = m_items.constFind(name);
    if (it == m_items.constEnd())
        return;
    const design::ItemProperties p = design::PrintLayout::propertiesOf(*it, m_scale.ratioX);
    m_loading = true;
    m_x->setValue(p.x);
    m_y->setValue(p.y);
    m_w->setValue(p.width);
    m_h->setValue(p.height);
    showInCombo(m_fontName, p.fontName);
    m_fontSize->setValue(p.fontSize);
    m_bold->setChecked(p.bold);
    m_italic->setChecked(p.italic);
    m_underline->setChecked(p.underline);
    m_multiLine->setChecked(p.breakOn);
    applyBreakUi(p.breakOn);
    m_breakNum->setValue(p.breakNum);
    m_breakFontSize->setValue(p.breakFontSize);
    m_lineHeight->setValue(p.lineHeight);
    m_widthAve->setChecked(p.widthAveOn);
    applyWidthAveUi(p.widthAveOn);
    m_aveWidth->setValue(p.fitParam);
    m_testText->setEditText(p.testText);
    m_defaultValue->setText(p.defaultValue);
    (p.align == 1 ? m_alignCenter : p.align == 2 ? m_alignRight : m_alignLeft)->setChecked(true);
    m_loading = false;
}

void PrintLayoutDesigner::saveProperty(const QString &column, const QVariant &value, bool redraw)
{
    const QString name = singleSelected();
    if (m_loading || name.isEmpty())
        return;
    showResult(m_layout->saveColumn(name, column, value));
    if (redraw)
        redrawItem(name);
}

void PrintLayoutDesigner::saveItem()
{
    if (m_selection.size() >= 2) {
        showMessage(QStringLiteral("单选一个项目才可以保存！"));
        return;
    }
    const QString name = singleSelected();
    if (name.isEmpty())
        return;
    showResult(m_layout->saveColumns(name,
                                     {{QStringLiteral("CtlY"), m_y->value()},
                                      {QStringLiteral("CtlX"), m_x->value()},
                                      {QStringLiteral("CtlW"), m_w->value()},
                                      {QStringLiteral("CtlH"), m_h->value()}},
                                     QStringLiteral("保存项目设置")));
    redrawItem(name);
}

void PrintLayoutDesigner::moveSelected(MoveDirection direction)
{
    if (m_selection.size() == 0)
        return;
    showResult(m_layout->move(m_selection.names(), direction, m_step->value()));
    for (const QString &name : m_selection.names())
        redrawItem(name);
    if (m_selection.size() == 1)
        loadProperties(m_selection.names().first());
}

void PrintLayoutDesigner::runBatch(BatchOp op)
{
    afterBatch(m_layout->batch(m_selection.names(), op, m_step->value()));
}

void PrintLayoutDesigner::afterBatch(const design::DesignResult &result)
{
    showResult(result);
    for (const QString &name : m_selection.names())
        redrawItem(name);
}

void PrintLayoutDesigner::setStep(int tenths)
{
    if (m_step->value() != tenths)
        m_step->setValue(tenths);
    m_stepText->setText(QString::number(tenths / 10.0) + QStringLiteral("mm"));
    for (QSpinBox *s : {m_x, m_y, m_w, m_h})
        s->setSingleStep(tenths);
}

void PrintLayoutDesigner::setZoom(const QString &text)
{
    const int zoom = design::PrintLayout::zoomOf(text);
    if (QString::number(zoom) != text.trimmed())
        m_zoomBox->setEditText(QString::number(zoom));
    if (zoom == m_zoom)
        return;
    m_zoom = zoom;
    relayout();
}

void PrintLayoutDesigner::chooseGroup(const QString &text)
{
    if (text.trimmed().isEmpty() || text == design::PrintLayout::groupHint())
        return;
    QStringList names;
    const QStringList found = m_layout->groupItems(text);
    for (const QString &n : found) {
        const QString name = itemNameFor(n);
        if (!name.isEmpty() && !names.contains(name))
            names << name;
    }
    m_multi->setChecked(true);
    m_selection.selectGroup(names);
    syncSelection();
}

void PrintLayoutDesigner::savePaper()
{
    const design::DesignResult r = m_layout->savePaperSize(m_paperWidth->text(), m_paperHeight->text());
    showResult(r);
    if (!r.ok)
        return;
    relayout();
    showMessage(r.message());
    Q_EMIT paperSizeSaved(m_layout->templateId());
}

void PrintLayoutDesigner::updateTestText()
{
    const QString name = singleSelected();
    if (name.isEmpty())
        return;
    const design::DesignResult r = m_layout->updateTestText(name, m_testText->currentText());
    showResult(r);
    if (r.ok)
        redrawItem(name);
}

void PrintLayoutDesigner::browsePicture()
{
    const QString file = m_core.dialogs().openFileName(QStringLiteral("选择底图"),
                                                       QStringLiteral("图片 (*.jpg *.jpeg *.bmp)"));
    if (file.isEmpty())
        return;
    QPixmap pixmap;
    if (!pixmap.load(file))
        return;
    m_pictureFound = true;
    m_canvas->setBackground(pixmap);
    showNotes();
}

void PrintLayoutDesigner::toggleFullScreen()
{
    const bool full = m_side->isVisible();
    m_side->setVisible(!full);
    if (full) {
        showMaximized();
        m_fullScreen->setText(QStringLiteral("返回"));
    } else {
        showNormal();
        m_fullScreen->setText(QStringLiteral("满屏"));
    }
}

void PrintLayoutDesigner::testPrint()
{
    const print::MapValueSource values = m_layout->testValues();
    const std::unique_ptr<print::PrintDevice> device = makeBillPrintDevice(
        m_core.session().billPrinterName, m_core.dialogs(), m_layout->templateRow().fullName + QStringLiteral(".pdf"));
    if (!device)
        return;
    app::PrintJob job(m_core, *device);
    job.setPrinterSetup(printerSetupFor(*device, this));
    if (!job.PrintPrepare(m_layout->templateId(), m_layout->templateRow().fullName) || !job.PrinterTransBegin(1))
        return;
    if (!job.SendCheckToPrinter(values)) {
        job.AbortPrint();
        return;
    }
    job.PrinterTransEnd();
}

void PrintLayoutDesigner::historyApplied()
{
    const int width = m_layout->pageWidth();
    const int height = m_layout->pageHeight();
    m_layout->open(m_layout->templateId());
    if (width != m_layout->pageWidth() || height != m_layout->pageHeight()) {
        m_loading = true;
        m_paperWidth->setText(QString::number(m_layout->pageWidth() / 100.0));
        m_paperHeight->setText(QString::number(m_layout->pageHeight() / 100.0));
        m_loading = false;
        relayout();
        Q_EMIT paperSizeSaved(m_layout->templateId());
    } else {
        drawItems();
    }
    if (m_selection.size() == 1)
        loadProperties(m_selection.names().first());
}

bool PrintLayoutDesigner::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Wheel
        && (watched == m_allNames->viewport() || watched == m_selectedNames->viewport())) {
        auto *list = watched == m_allNames->viewport() ? m_allNames : m_selectedNames;
        const int delta = static_cast<QWheelEvent *>(event)->angleDelta().y();
        const int row = std::clamp(list->currentRow() + (delta > 0 ? -1 : 1), 0, list->count() - 1);
        if (list->count() > 0)
            list->setCurrentRow(row);
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace moque::ui
