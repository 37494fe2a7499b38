#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

// What the receipt, freight-invoice and export-invoice windows show for their
// amounts: the digit boxes of a row, a line's formatted amount, the total of
// the lines, the total with its capital text, and the export invoice's foreign,
// RMB and FOB totals. Each function gives the new texts; the windows put them
// into their controls. Amounts are computed in whole fen.
namespace moque::entry {

// The eleven places of a digit-box row, highest first: "YY","QW","BW","SW","WY","QY","BY","SY","Y","J","F".
QStringList digitPlaces();
QStringList digitBoxNames(int row); // "zdYY"+row ... "zdF"+row
QStringList capitalBoxNames();      // "zddxYY" ... "zddxF"
inline constexpr int kTotalRow = 6;

// The option-strip choices that shape how amounts look (defaults = the option
// defaults of the receipt window).
struct AmountLook
{
    bool lineCurrencySign = true;    // cfgJENeedSheep "小计￥"
    bool lineThousands = true;       // cfgJEXXNeedQianFF "小计千分符"
    bool totalCurrencySign = false;  // cfgTotalJEWithSheep "合计￥"
    bool totalThousands = false;     // cfgHJJENeedQianFF "合计千分符"
    bool totalWithYuan = true;       // cfgHJJEXXWithYuan "总计小写带元"
    bool capitalWithCurrency = true; // cfgJEDXRMBChecked
    bool capitalYuan = true;         // cfgJEDXYuan "大写圆"
    bool nonStandardCapital = true;  // cfgJEDXFormatNoStandard "非标准大写"
    QString currencyName = QStringLiteral("人民币");
    QString currencyCode; // the currency's 缩写, e.g. "￥"
};
enum class InvoiceForm { Receipt, Freight };

// Every box of the row with its new text (cleared boxes present with ""); for
// row 6 also the capital boxes. An amount not above 0 (or not a number) clears
// the row only. Digits are right-aligned from zdF up; the currency code, with
// "小计￥", goes into the first empty box above the highest digit.
QHash<QString, QString> digitBoxesOf(int row, const QString &amount, const AmountLook &look);

// Leaving a typed line amount: the line's shown amount zdJEn and its boxes.
// invalid = the typed text is not a number; the window then clears zdJEDX,
// zdJEn and the typed edit, leaves the boxes as they are (boxes is empty) and
// shows kBadLineAmount in zdHJJE. A zero amount is shown empty when the line's
// charge text is empty.
struct LineLook
{
    QString shown;
    QHash<QString, QString> boxes;
    bool invalid = false;
};
LineLook lineLook(int row, const QString &typed, const QString &charge, const AmountLook &look);
inline const QString kBadLineAmount = QStringLiteral("错误,非法的数值或溢出！");

// The total of the typed line amounts the window counts (it applies the
// visibility rule itself). The receipt's sum is checked against the digit-limit
// choice (cfgJEDXFormat); the freight invoice has no limit. total is the sum as
// its shortest decimal text ("0" after an overflow or error); message is shown
// when not empty.
struct SumResult
{
    QString total;
    QString message;
};
SumResult sumLines(const QStringList &typedAmounts, const QString &digitLimitChoice, InvoiceForm form);

// The total's looks. A non-empty message/caption means refused: the window
// keeps its previous total. The window itself skips a text equal to the
// previous one. zero: the total is 0; the window also clears inputJEXX, and
// shown is empty as the total box empties with a zero total. On the freight
// invoice boxes holds the capital boxes only.
struct TotalLook
{
    QString message, caption;
    QString plain;   // zdHJJEXX
    QString shown;   // zdHJJE (and the counterfoil copy cgHJJE on the receipt)
    QString capital; // zdJEDX
    QHash<QString, QString> boxes; // row 6 and the capital boxes
    bool zero = false;
};
TotalLook totalLook(const QString &text, const AmountLook &look, InvoiceForm form);

// The export invoice's own options.
struct ExportLook
{
    bool totalWithCurrency = false;       // cfgTotalJEWithSheep "合计小写带币种"
    bool capitalWithCurrencyName = false; // cfgJEDXWithMoneyName "大写前置币种"
    bool rmbCapitalWithRmb = false;       // cfgRMBJEDXWithRMB
    QString currencyName, currencyCode;
};

// A line's 销售额 from quantity and price, thousands-separated (empty when both
// are empty), or the error text.
struct ExportLine
{
    QString amount;
    QString error;
};
ExportLine exportLineSum(const QString &quantity, const QString &price);

// The foreign and RMB totals over the seven 销售额 texts with the rate text
// (zdExchRate). When a line is unreadable, message and badLine (1..7) are set
// and nothing else: the window clears and focuses that line. Otherwise the
// window writes cleanedRate back into zdExchRate and shows rateMessage when
// not empty.
struct ExportTotals
{
    QString message;
    int badLine = 0;
    QString foreign, foreignCapital, rmb, rmbCapital; // zdWaiHJXX, ZDWAIHJDX, zdRmbHJXX, zdRmbHJDX
    QString rateMessage;
    QString cleanedRate;
};
ExportTotals exportTotals(const QStringList &lineSums, const QString &rate, const ExportLook &look);

// The FOB totals over the seven 离岸价 texts (zdFobWaiHJXX, zdFobRmbHJXX), with
// the same rules for an unreadable line. A zero sum leaves its field empty; the
// rate is read only for a non-zero foreign sum (cleanedRate empty otherwise).
struct FobTotals
{
    QString message;
    int badLine = 0;
    QString foreign, rmb;
    QString rateMessage;
    QString cleanedRate;
};
FobTotals fobTotals(const QStringList &fobValues, const QString &rate, const ExportLook &look);

// A saved 金额合计/离岸价合计: the total without the currency prefix the window shows.
QString withoutCurrencyPrefix(const QString &shown, const QString &code);

} // namespace moque::entry
