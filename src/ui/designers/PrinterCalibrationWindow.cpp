#include "designers/PrinterCalibrationWindow.h"

#include "app/AppCore.h"
#include "common/Dialogs.h"
#include "design/TemplateOffset.h"
#include "design/TestPages.h"
#include "designers/TestPagePrint.h"
#include "dialogs/CommandButton.h"
#include "settings/Options.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QVBoxLayout>

namespace moque::ui {

namespace {
const QString portrait = QStringLiteral("纵向");
const QString landscape = QStringLiteral("横向");

int tenthsOf(const QString &text)
{
    return text.trimmed().toInt();
}
} // namespace

PrinterCalibrationWindow::PrinterCalibrationWindow(app::AppCore &core, const QStringList &printers,
                                                   const QString &printer, PrinterSelector setDefaultPrinter,
                                                   QWidget *parent)
    : QDialog(parent)
    , m_core(core)
    , m_calibration(core.settings().file(), core.db())
    , m_setDefaultPrinter(std::move(setDefaultPrinter))
{
    setObjectName(QStringLiteral("frmPrinterParam"));
    setWindowTitle(QStringLiteral("适配打印机整体偏移参数"));

    const auto readOnly = [this](const char *name) {
        auto *e = new QLineEdit(this);
        e->setObjectName(QLatin1String(name));
        e->setReadOnly(true);
        return e;
    };
    m_models = new QComboBox(this);
    m_models->setObjectName(QStringLiteral("cbPrinterModel"));
    m_presetX = readOnly("edtPresetX");
    m_presetY = readOnly("edtPresetY");
    m_presetBoard = readOnly("edtPresetBoard");
    m_presetDirection = readOnly("edtPresetDirection");
    m_presetPicture = new QLabel(this);
    m_presetPicture->setObjectName(QStringLiteral("imgPreset"));
    m_presetPicture->setMinimumSize(200, 150);
    m_presetPicture->setAlignment(Qt::AlignCenter);

    auto *presetForm = new QFormLayout;
    presetForm->addRow(QStringLiteral("选择相近的打印机型号："), m_models);
    presetForm->addRow(QStringLiteral("打印再向右偏移："), m_presetX);
    presetForm->addRow(QStringLiteral("打印再向下偏移："), m_presetY);
    presetForm->addRow(QStringLiteral("打印机挡板位置说明："), m_presetBoard);
    presetForm->addRow(QStringLiteral("打印机方向:"), m_presetDirection);
    auto *presetBox = new QGroupBox(QStringLiteral("1.参考预选配置"), this);
    auto *presetLayout = new QHBoxLayout(presetBox);
    presetLayout->addLayout(presetForm, 1);
    presetLayout->addWidget(m_presetPicture);

    m_printers = new QComboBox(this);
    m_printers->setObjectName(QStringLiteral("cbPrinter"));
    m_printers->addItems(printers);
    m_model = new QLineEdit(this);
    m_model->setObjectName(QStringLiteral("edtModelName"));
    const auto offsetBox = [this](const char *name) {
        auto *box = new QSpinBox(this);
        box->setObjectName(QLatin1String(name));
        box->setRange(design::offsetRange::moveMin, design::offsetRange::moveMax);
        box->setSuffix(QStringLiteral(" (0.1毫米)"));
        return box;
    };
    m_x = offsetBox("edtX");
    m_y = offsetBox("edtY");
    m_board = new QLineEdit(this);
    m_board->setObjectName(QStringLiteral("edtBoard"));
    m_direction = new QComboBox(this);
    m_direction->setObjectName(QStringLiteral("cbDirection"));
    m_direction->addItems({portrait, landscape});
    auto *useForm = new QFormLayout;
    useForm->addRow(QStringLiteral("您的票据打印机："), m_printers);
    useForm->addRow(QStringLiteral("需要设置的型号："), m_model);
    useForm->addRow(QStringLiteral("打印再向右偏移："), m_x);
    useForm->addRow(QStringLiteral("打印再向下偏移："), m_y);
    useForm->addRow(QStringLiteral("打印机挡板位置说明："), m_board);
    useForm->addRow(QStringLiteral("打印机方向:"), m_direction);
    auto *useBox = new QGroupBox(QStringLiteral("2.您的打印机配置"), this);
    useBox->setLayout(useForm);

    QPushButton *test = commandButton(QStringLiteral("打印调整测试页"), QStringLiteral("btTestPage"), this);
    QPushButton *applyAll = commandButton(QStringLiteral("3.【应用】到所有单据"), QStringLiteral("btApply"), this);
    QPushButton *done = commandButton(QStringLiteral("【退出设置】"), QStringLiteral("btExit"), this);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(test);
    buttons->addWidget(applyAll);
    buttons->addStretch();
    buttons->addWidget(done);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(presetBox);
    layout->addWidget(useBox);
    layout->addLayout(buttons);

    connect(m_models, &QComboBox::currentIndexChanged, this, &PrinterCalibrationWindow::modelChosen);
    connect(test, &QPushButton::clicked, this, &PrinterCalibrationWindow::printTestPage);
    connect(applyAll, &QPushButton::clicked, this, &PrinterCalibrationWindow::apply);
    connect(done, &QPushButton::clicked, this, &QDialog::close);

    if (!printer.isEmpty()) {
        m_printers->setCurrentText(printer);
        m_printers->setEnabled(false);
    }
    {
        const QSignalBlocker block(m_models);
        m_models->addItems(m_calibration.knownModels());
    }
    m_models->setCurrentIndex(0);
    modelChosen();
    const design::UserCalibration use = m_calibration.userCalibration();
    if (!use.model.isEmpty()) {
        m_model->setText(use.model);
        m_board->setText(use.board);
        if (!use.x.trimmed().isEmpty())
            m_x->setValue(tenthsOf(use.x));
        if (!use.y.trimmed().isEmpty())
            m_y->setValue(tenthsOf(use.y));
        if (use.direction == portrait || use.direction == landscape)
            m_direction->setCurrentText(use.direction);
    }
    resize(680, 500);
}

void PrinterCalibrationWindow::modelChosen()
{
    const design::CalibrationPreset preset = m_calibration.preset(m_models->currentText());
    m_presetX->setText(preset.x);
    m_presetY->setText(preset.y);
    m_presetBoard->setText(preset.board);
    m_presetDirection->setText(preset.direction);
    m_presetPicture->clear();
    if (!preset.picture.trimmed().isEmpty()) {
        const QImage image = QImageReader(m_core.dir().root() + preset.picture).read();
        if (!image.isNull())
            m_presetPicture->setPixmap(
                QPixmap::fromImage(image.scaled(QSize(200, 150), Qt::KeepAspectRatio, Qt::SmoothTransformation)));
    }
    m_x->setValue(tenthsOf(preset.x));
    m_y->setValue(tenthsOf(preset.y));
    m_board->setText(preset.board);
    if (preset.direction == portrait || preset.direction == landscape)
        m_direction->setCurrentText(preset.direction);
    m_model->setText(m_printers->currentText());
}

QString PrinterCalibrationWindow::direction() const
{
    return m_direction->currentText();
}

void PrinterCalibrationWindow::printTestPage()
{
    if (!m_core.dialogs().ask(QStringLiteral("你确认打印机的挡板调为“") + m_board->text()
                                  + QStringLiteral("”了吗？\n点击 是打印测试页，点击否调节挡板！"),
                              QStringLiteral("提示"), Dialogs::Icon::Question))
        return;
    print::PageSetup setup;
    setup.landscape = direction() == landscape;
    setup.title = QStringLiteral("打印调整测试页");
    ui::printTestPage(m_core, m_printers->currentText(), QStringLiteral("打印调整测试页.pdf"), setup,
                      [](print::Canvas &canvas) { design::drawCalibrationPage(canvas); });
}

void PrinterCalibrationWindow::apply()
{
    if (!m_core.dialogs().ask(QStringLiteral("你确认对所有单据应用该设置吗？\r请在打印测试前调整好挡板！-")
                                  + m_board->text(),
                              QStringLiteral("提示"), Dialogs::Icon::Question))
        return;
    QString message;
    m_calibration.applyToAllTemplates(m_x->value(), m_y->value(), direction(), message);
    m_core.dialogs().info(message);
    // A failed write still keeps the user's values.
    design::UserCalibration use;
    use.model = m_model->text();
    use.printerName = m_printers->currentText();
    use.x = QString::number(m_x->value());
    use.y = QString::number(m_y->value());
    use.direction = direction();
    use.board = m_board->text();
    if (!m_calibration.storeUserCalibration(use, message)) {
        m_core.dialogs().info(message);
        if (use.model.trimmed().isEmpty())
            m_model->setFocus();
        return;
    }
    m_core.options().setConfigByname(settings::option::defaultPrinter, use.printerName);
    if (m_setDefaultPrinter)
        m_setDefaultPrinter(use.printerName);
    m_core.dialogs().info(message);
}

} // namespace moque::ui
