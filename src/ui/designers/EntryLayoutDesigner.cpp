#include "designers/EntryLayoutDesigner.h"

#include "app/AppCore.h"
#include "common/Dialogs.h"
#include "designers/CaptionList.h"
#include "designers/DesignControls.h"
#include "designers/EntryLayoutPage.h"
#include "designers/ImageViewer.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QShortcut>
#include <QSplitter>
#include <QStatusBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <optional>

namespace moque::ui {

using design::ControlKind;
using design::Direction;

namespace {

const QString kTitle = QStringLiteral("模板设计");
const QString kMoveHint = QStringLiteral("移动填写项目并不会影响打印位置");
const QString kPickToMove = QStringLiteral("请选取或点中需要配置或修改的项目！");
const QString kPickToSize = QStringLiteral("请选择左侧需要配置或修改的项目！");
constexpr int kListWidth = 120;

QPushButton *button(const char *name, const QString &caption, QWidget *parent)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(QLatin1String(name));
    b->setAutoDefault(false);
    return b;
}

std::optional<Direction> directionOf(int key)
{
    switch (key) {
    case Qt::Key_Left:
        return Direction::Left;
    case Qt::Key_Right:
        return Direction::Right;
    case Qt::Key_Up:
        return Direction::Up;
    case Qt::Key_Down:
        return Direction::Down;
    default:
        return std::nullopt;
    }
}

} // namespace

EntryLayoutDesigner::EntryLayoutDesigner(moque::app::AppCore &core, int templateId, QWidget *parent)
    : QDialog(parent),
      m_core(core),
      m_catalog(core.db(), core.dialogs(), core.store()),
      m_cache(m_catalog, core.dialogs(), core.dir()),
      m_history(core.db()),
      m_layout(core.db(), m_history)
{
    setObjectName(QStringLiteral("fmCheckDesign"));
    setWindowTitle(kTitle);
    setModal(true);
    buildWindow();
    connectHistory();

    m_templateId = design::chooseTemplate(m_catalog, templateId, core.session().currentTemplateId);
    if (m_templateId <= 0) {
        m_core.dialogs().info(QStringLiteral("系统没有任何可用的模板信息，请确保软件数据完整~"));
        return;
    }
    m_usable = true;
    m_kind = m_catalog.loadCheckTypeFirstNameByID(m_templateId);
    fillKinds();
    fillNames();
    initFormType();
    fillCaptions();
    m_showSuccess = true;
    m_current = nullptr;
}

EntryLayoutDesigner::~EntryLayoutDesigner() = default;

void EntryLayoutDesigner::buildWindow()
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 0);
    layout->addWidget(buildTopGroup());

    auto *splitter = new QSplitter(this);
    m_list = new CaptionList(splitter);
    m_list->setFixedWidth(kListWidth);
    connect(m_list, &CaptionList::captionClicked, this, &EntryLayoutDesigner::listClicked);
    connect(m_list, &CaptionList::checkBoxCaptionsRequested, this, &EntryLayoutDesigner::editCheckBoxes);
    splitter->addWidget(m_list);
    auto *right = new QWidget(splitter);
    auto *rightLayout = new QVBoxLayout(right);
    rightLayout->setContentsMargins(0, 0, 0, 0);
    auto *scroll = new QScrollArea(right);
    m_panel = new DesignPicture(this);
    m_bgImage = m_panel->background();
    scroll->setWidget(m_panel);
    rightLayout->addWidget(scroll, 1);

    m_pages = new QTabWidget(right);
    m_pages->setObjectName(QStringLiteral("pcDesign"));
    m_page = new EntryLayoutPage(m_pages);
    m_pages->addTab(m_page, QStringLiteral("录单项目界面显示配置"));
    connectPage();
    auto *offsetPage = new QWidget(m_pages);
    offsetPage->setObjectName(QStringLiteral("tsOffset"));
    m_pages->addTab(offsetPage, QStringLiteral("整体打印偏移"));
    connect(m_pages, &QTabWidget::currentChanged, this, [this](int index) {
        if (index != 1)
            return;
        Q_EMIT offsetRequested(m_templateId);
        m_pages->setCurrentIndex(0);
    });
    rightLayout->addWidget(m_pages);
    splitter->addWidget(right);
    splitter->setStretchFactor(1, 1);
    layout->addWidget(splitter, 1);

    auto *status = new QStatusBar(this);
    status->setObjectName(QStringLiteral("StatusBar1"));
    m_status0 = new QLabel(status);
    m_status0->setObjectName(QStringLiteral("lbStatus0"));
    m_status1 = new QLabel(status);
    m_status1->setObjectName(QStringLiteral("lbStatus1"));
    status->addWidget(m_status0, 1);
    status->addWidget(m_status1);
    layout->addWidget(status);
}

QWidget *EntryLayoutDesigner::buildTopGroup()
{
    auto *group = new QGroupBox(this);
    auto *row = new QHBoxLayout(group);
    m_kinds = new QComboBox(group);
    m_kinds->setObjectName(QStringLiteral("cbCheckTypeNameList"));
    m_names = new QComboBox(group);
    m_names->setObjectName(QStringLiteral("cbTypeLastName"));
    m_names->setMinimumContentsLength(16);
    QPushButton *refresh = button("btRefreshCheck", QStringLiteral("刷 新(&R)"), group);
    m_undo = button("btUndo", QStringLiteral("撤销"), group);
    m_redo = button("btRedo", QStringLiteral("重做"), group);
    row->addWidget(new QLabel(QStringLiteral("1、选中票据种类："), group));
    row->addWidget(m_kinds);
    row->addWidget(new QLabel(QStringLiteral("2、选中票据模板："), group));
    row->addWidget(m_names);
    row->addWidget(refresh);
    row->addStretch(1);
    row->addWidget(m_undo);
    row->addWidget(m_redo);

    connect(m_kinds, &QComboBox::currentTextChanged, this, [this] {
        if (!m_changing)
            kindChosen();
    });
    connect(m_names, &QComboBox::currentTextChanged, this, [this] {
        if (!m_changing)
            nameChosen();
    });
    connect(refresh, &QPushButton::clicked, this, &EntryLayoutDesigner::reloadTemplate);
    m_names->installEventFilter(this);
    return group;
}

void EntryLayoutDesigner::connectPage()
{
    connect(m_page, &EntryLayoutPage::placeEdited, this, &EntryLayoutDesigner::spinChanged);
    connect(m_page, &EntryLayoutPage::placeLeft, this, [this] {
        if (m_current)
            saveSilently();
    });
    connect(m_page, &EntryLayoutPage::moveClicked, this, &EntryLayoutDesigner::moveByButton);
    connect(m_page, &EntryLayoutPage::sizeClicked, this, &EntryLayoutDesigner::sizeByButton);
    connect(m_page, &EntryLayoutPage::hiddenToggled, this, [this](bool hidden) {
        if (!m_current)
            return;
        m_current->setVisible(!hidden);
        if (!hidden)
            m_current->raise();
        m_saved = false;
    });
    connect(m_page, &EntryLayoutPage::defaultValueLeft, this, [this] {
        if (m_current)
            saveSilently();
    });
    connect(m_page, &EntryLayoutPage::saveClicked, this,
            [this] { save(m_showSuccess ? Report::Box : Report::Caption); });
    connect(m_page, &EntryLayoutPage::helpPictureClicked, this, [this](const QString &file, const QSize &size) {
        ImageViewer viewer(m_core, this);
        viewer.loadPicture(m_core.dir().imageDir() + file, size);
        viewer.exec();
    });
    connect(m_page, &EntryLayoutPage::printDesignClicked, this, [this] {
        if (!m_saved)
            saveSilently();
        Q_EMIT printDesignRequested(m_templateId);
        refreshFromData();
    });
}

void EntryLayoutDesigner::connectHistory()
{
    QUndoStack &stack = m_history.stack();
    m_undo->setEnabled(false);
    m_redo->setEnabled(false);
    connect(&stack, &QUndoStack::canUndoChanged, m_undo, &QPushButton::setEnabled);
    connect(&stack, &QUndoStack::canRedoChanged, m_redo, &QPushButton::setEnabled);
    connect(m_undo, &QPushButton::clicked, &stack, &QUndoStack::undo);
    connect(m_redo, &QPushButton::clicked, &stack, &QUndoStack::redo);
    const auto addKey = [this, &stack](QKeyCombination key, void (QUndoStack::*slot)()) {
        auto *shortcut = new QShortcut(QKeySequence(key), this);
        connect(shortcut, &QShortcut::activated, &stack, slot);
    };
    addKey(Qt::CTRL | Qt::Key_Z, &QUndoStack::undo);
    addKey(Qt::CTRL | Qt::Key_Y, &QUndoStack::redo);
    connect(&m_history, &design::DesignHistory::applied, this, &EntryLayoutDesigner::refreshFromData);
    connect(&m_history, &design::DesignHistory::failed, this, &EntryLayoutDesigner::setMessage);
}

void EntryLayoutDesigner::fillKinds()
{
    m_changing = true;
    m_kinds->clear();
    m_kinds->addItems(m_catalog.loadCheckTypeFirstNameList());
    m_kinds->setCurrentText(m_kind);
    m_changing = false;
}

void EntryLayoutDesigner::fillNames()
{
    m_changing = true;
    m_names->clear();
    m_names->addItems(m_catalog.loadCheckTypeLastNameList(m_kind));
    m_names->setCurrentText(m_catalog.loadCheckTypeLastNameByID(m_templateId));
    m_changing = false;
}

void EntryLayoutDesigner::fillCaptions()
{
    if (m_listKind == m_kind)
        return;
    m_list->setCaptions(m_layout.captions(m_kind));
    m_listKind = m_kind;
}

void EntryLayoutDesigner::kindChosen()
{
    m_kind = m_kinds->currentText();
    fillCaptions();
    if (m_catalog.loadCheckTypeFirstNameByID(m_templateId) != m_kind)
        m_templateId = m_catalog.loadDefaultCheckTypeId(m_kind);
    fillNames();
    reloadTemplate();
}

// Builds the template again from the data, whether or not it is the one shown.
void EntryLayoutDesigner::reloadTemplate()
{
    rebuildCache();
    m_loadedId = 0;
    initFormType();
}

void EntryLayoutDesigner::nameChosen()
{
    const QString name = m_names->currentText();
    m_templateId = m_catalog.loadCheckTypeIDByFirstAndLastName(m_kind, name);
    initFormType();
    setWindowTitle(QStringLiteral("票据设计调整（") + m_kind + QLatin1Char('-') + name + QStringLiteral("）,ID=")
                   + QString::number(m_templateId));
}

void EntryLayoutDesigner::initFormType()
{
    if (m_templateId == m_loadedId)
        return;
    m_status0->setText(QStringLiteral("没有选中调整项目！"));
    // The template left behind keeps the places it was given here.
    if (m_loadedId > 0)
        rebuildCache();
    const QString kind = m_catalog.loadCheckTypeFirstNameByID(m_templateId);
    if (!kind.isEmpty() && kind != m_kind) {
        m_kind = kind;
        fillKinds();
        fillCaptions();
    }
    fillNames();
    m_current = nullptr;
    m_previous = nullptr;
    m_saved = true;
    setMessage({});
    loadParam(m_templateId);
    setControlsPosition();
    if (m_templateId > 0)
        applyOptionBoxes();
    m_loadedId = m_templateId;
}

void EntryLayoutDesigner::loadParam(int templateId)
{
    const std::optional<templates::TemplateRow> row = m_catalog.templateById(templateId);
    if (!row)
        return;
    const QSize size = row->screenWidth > 0 && row->screenHeight > 0
                           ? QSize(row->screenWidth, row->screenHeight)
                           : m_panel->pictureSize();
    const QString file = row->imageFile.isEmpty() ? QStringLiteral("dhd_default.jpg") : row->imageFile;
    if (!m_panel->setPicture(m_core.dir().imageDir() + file, size))
        setMessage(QStringLiteral("模板图片不存在：Image/") + file);
    resize(size.width() + kListWidth + 40, std::min(size.height() + 340, 2000));
}

void EntryLayoutDesigner::setControlsPosition()
{
    QString error;
    const QList<design::FieldControl> fields = m_layout.controls(m_templateId, m_kind, &error);
    if (!error.isEmpty()) {
        m_core.dialogs().warning(QStringLiteral("调入项目参数失败!") + error);
        return;
    }
    m_panel->build(fields);
    if (std::none_of(fields.begin(), fields.end(), [](const design::FieldControl &f) { return f.hasItem; }))
        m_status0->setText(QStringLiteral("该模板还没有打印项目，点击左侧列表中的项目即可添加"));
}

void EntryLayoutDesigner::applyOptionBoxes()
{
    m_panel->setOptionCaptions(m_layout.checkBoxes(m_templateId).split(QLatin1Char(',')));
}

// After an undo or redo, or after the print layout designer, the controls
// take the stored places again.
void EntryLayoutDesigner::refreshFromData()
{
    m_panel->place(m_layout.controls(m_templateId, m_kind));
    applyOptionBoxes();
    if (m_current)
        loadCurrent(false);
}

QString EntryLayoutDesigner::captionOf(const QWidget *control) const
{
    const design::FieldControl *field = m_panel->field(control);
    return field ? field->label : QString();
}

void EntryLayoutDesigner::listClicked()
{
    if (m_list->isEmpty())
        return;
    const QString name = m_layout.fieldOfCaption(m_kind, m_list->chooseCaption());
    QWidget *control = name.isEmpty() ? nullptr : m_panel->control(name);
    if (!control) {
        m_core.dialogs().info(QStringLiteral("找不到对应的项目定义~~"));
        return;
    }
    selectControl(control);
}

void EntryLayoutDesigner::selectControl(QWidget *control)
{
    if (!control) {
        m_core.dialogs().info(QStringLiteral("输入项目获取失败！"));
        return;
    }
    if (m_current && !m_saved)
        saveSilently();
    m_previous = m_current;
    m_current = control;
    if (m_previous && m_previous != m_current)
        highlightControl(m_previous, false);
    highlightControl(m_current, true);
    loadCurrent(true);
}

// Shows the current control's stored values; with no print item row yet,
// createMissing makes one at once from what the page shows.
void EntryLayoutDesigner::loadCurrent(bool createMissing)
{
    QWidget *control = m_current;
    const QString name = control->objectName();
    m_status1->setText(name);
    m_page->setHiddenChecked(control->isHidden());
    if (!control->isHidden())
        control->raise();
    const std::optional<design::EntryItem> item = m_layout.item(m_templateId, name);
    if (!item) {
        if (createMissing) {
            m_status0->setText(QStringLiteral("还没有该项打印配置信息,添加一个！"));
            saveSilently();
        }
        return;
    }
    m_page->setPlace(design::spinPlace(*item));
    m_page->setDefaultValue(item->initValue);
    if (item->shown)
        m_page->setHiddenChecked(false);
    control->setGeometry(m_page->place());
    QFont font(item->fontName.isEmpty() ? QStringLiteral("宋体") : item->fontName, std::max(1, item->fontSize));
    font.setBold(item->bold);
    font.setItalic(item->italic);
    font.setUnderline(item->underline);
    m_page->setItemFont(font);
    m_status0->setText(QStringLiteral("当前调整:") + captionOf(control));
    m_status1->setText(name);
    m_saved = true;
}

void EntryLayoutDesigner::saveSilently()
{
    const bool showSuccess = m_showSuccess;
    m_showSuccess = false;
    save(Report::Caption);
    m_showSuccess = showSuccess;
}

void EntryLayoutDesigner::save(Report report)
{
    if (!m_current) {
        const QString text = QStringLiteral("部分未启用项目，可以点击左侧列表中的数据项目选中！");
        if (m_showSuccess && report == Report::Box)
            m_core.dialogs().info(text);
        else
            setMessage(text);
        return;
    }
    QWidget *control = m_current;
    const design::FieldControl *field = m_panel->field(control);
    const ControlKind kind = field ? field->kind : ControlKind::Text;
    design::EntrySave values;
    values.place = m_page->place();
    values.hidden = m_page->hiddenChecked();
    values.initValue = m_page->defaultValue();
    const QFont font = m_page->itemFont();
    values.fontName = font.family();
    values.fontSize = font.pointSize();
    values.bold = font.bold();
    values.italic = font.italic();
    values.underline = font.underline();
    const QString name = control->objectName().toUpper();
    const design::SaveOutcome outcome =
        m_layout.save(m_templateId, name, values, design::newItemType(kind, name),
                      design::newItemCaption(kind, controlCaption(control), control->toolTip(), m_list->currentCaption()));
    if (outcome == design::SaveOutcome::Refused || outcome == design::SaveOutcome::Failed) {
        setMessage(m_layout.errorText());
        m_saved = false;
        return;
    }
    if (!control->isHidden())
        control->raise();
    const QString text = design::savedMessage(captionOf(control));
    if (report == Report::Box)
        m_core.dialogs().info(text);
    else if (report == Report::Caption)
        setWindowTitle(text);
    m_saved = true;
}

void EntryLayoutDesigner::spinChanged()
{
    if (!m_current) {
        m_core.dialogs().info(kPickToSize);
        return;
    }
    m_current->setGeometry(m_page->place());
    m_saved = false;
}

void EntryLayoutDesigner::moveByButton(Direction direction)
{
    if (!m_current) {
        m_core.dialogs().info(kPickToMove);
        return;
    }
    const int step = m_page->step();
    QRect place = m_page->place();
    switch (direction) {
    case Direction::Up:
        place.translate(0, -step);
        break;
    case Direction::Left:
        place.translate(-step, 0);
        break;
    case Direction::Right:
        place.translate(step, 0);
        break;
    case Direction::Down:
        place.translate(0, step);
        break;
    }
    m_page->setPlace(place);
    m_current->move(m_page->place().topLeft());
    setMessage(kMoveHint);
    saveSilently();
}

void EntryLayoutDesigner::sizeByButton(bool height, int delta)
{
    if (!m_current) {
        m_core.dialogs().info(kPickToSize);
        return;
    }
    QRect place = m_page->place();
    if (height)
        place.setHeight(place.height() + delta);
    else
        place.setWidth(place.width() + delta);
    m_page->setPlace(place);
    m_current->setGeometry(m_page->place());
    save(Report::Box);
}

bool EntryLayoutDesigner::handleKey(QKeyEvent *event)
{
    const std::optional<Direction> direction = directionOf(event->key());
    if (!m_current || !direction)
        return false;
    const Qt::KeyboardModifiers mods = event->modifiers();
    const QRect place = m_current->geometry();
    if (mods & Qt::ControlModifier) {
        const design::KeyMove move =
            design::moveByKey(place, *direction, (mods & Qt::ShiftModifier) ? 10 : 1, m_panel->pictureSize());
        m_current->move(move.place.topLeft());
        m_page->setPlace(QRect(move.place.topLeft(), m_page->place().size()));
        setMessage(move.message);
    } else if (mods & Qt::ShiftModifier) {
        const QRect sized = design::sizeByKey(place, *direction);
        m_current->resize(sized.size());
        m_page->setPlace(QRect(m_page->place().topLeft(), sized.size()));
    } else {
        return false;
    }
    m_saved = false;
    return true;
}

void EntryLayoutDesigner::keyReleaseEvent(QKeyEvent *event)
{
    if (!handleKey(event))
        QDialog::keyReleaseEvent(event);
}

bool EntryLayoutDesigner::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_names && event->type() == QEvent::FocusIn) {
        const QScreen *screen = this->screen();
        m_names->setMaxVisibleItems(screen && screen->geometry().height() <= 1000 ? 26 : 35);
        rebuildCache();
        return QDialog::eventFilter(watched, event);
    }
    if (watched == m_bgImage) {
        if (event->type() == QEvent::MouseMove) {
            const QPoint p = static_cast<QMouseEvent *>(event)->position().toPoint();
            m_status0->setText(QStringLiteral("(%1,%2)").arg(p.x() + 2).arg(p.y()));
        } else if (event->type() == QEvent::MouseButtonPress && m_current) {
            save(Report::Quiet);
        }
        return QDialog::eventFilter(watched, event);
    }
    auto *control = qobject_cast<QWidget *>(watched);
    if (!control || !m_panel->field(control))
        return QDialog::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        selectControl(control);
        m_dragging = control;
        return true;
    case QEvent::MouseMove: {
        if (m_dragging != control)
            return true;
        const QPoint corner = control->mapToParent(static_cast<QMouseEvent *>(event)->position().toPoint());
        control->move(corner);
        m_page->setPlace(QRect(corner, m_page->place().size()));
        m_saved = false;
        setMessage(QStringLiteral("拖动了【") + controlText(control)
                   + QStringLiteral("】(精确移动请试试，Ctrl+方向键),拖动不会影响打印位置！"));
        return true;
    }
    case QEvent::MouseButtonRelease:
        // A click without a move leaves the stored item as it is.
        if (m_dragging == control) {
            m_dragging = nullptr;
            if (!m_saved)
                save(Report::Quiet);
        }
        return true;
    case QEvent::FocusOut:
        if (control == m_current && !m_saved)
            save(Report::Quiet);
        break;
    case QEvent::KeyRelease:
        if (handleKey(static_cast<QKeyEvent *>(event)))
            return true;
        break;
    default:
        break;
    }
    return QDialog::eventFilter(watched, event);
}

void EntryLayoutDesigner::setMessage(const QString &text)
{
    m_page->setMessage(text);
}

void EntryLayoutDesigner::editCheckBoxes()
{
    if (m_templateId <= 0)
        return;
    const QString current = m_layout.checkBoxes(m_templateId);
    const QString answer = m_core.dialogs().inputValue(
        QStringLiteral("输入勾选项目(以逗号分隔,最多13个,不得重复)："), current, QStringLiteral("string"));
    const design::CheckBoxListEdit edit = design::editCheckBoxList(answer, current);
    switch (edit.outcome) {
    case design::CheckBoxListEdit::Outcome::Unchanged:
        return;
    case design::CheckBoxListEdit::Outcome::Invalid:
        m_core.dialogs().info(edit.message);
        return;
    case design::CheckBoxListEdit::Outcome::Changed:
        m_layout.setCheckBoxes(m_templateId, edit.list);
        reloadTemplate();
        return;
    }
}

void EntryLayoutDesigner::rebuildCache()
{
    if (m_loadedId > 0)
        m_cache.buildCheckIniFile(m_loadedId);
}

void EntryLayoutDesigner::done(int result)
{
    rebuildCache();
    QDialog::done(result);
}

} // namespace moque::ui
