#include "templates/TemplatePicture.h"

#include "common/PictureFiles.h"
#include "templates/PrintItemStore.h"

#include <QDir>
#include <QFileInfo>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QHash>
#include <QPainter>
#include <QRegularExpression>
#include <QSqlQuery>
#include <QVariant>

#include <algorithm>

namespace moque::templates {

namespace {

constexpr int captionPx = 11;     // captions of the boxes
constexpr int smallPx = 9;        // a caption that only fits inside its box
constexpr int placePx = 10;       // the place names over digit boxes
constexpr int captionHeight = 14; // a caption line above a box
constexpr int captionGap = 3;     // between a caption and its box
constexpr int sectionPad = 4;     // between a section's frame and its contents
constexpr int bandWidth = 16;     // the section title's band left of the frame

const QString fontFamily = QStringLiteral("Noto Sans CJK SC");

// Text needs a running GUI application for its fonts.
bool canDrawText()
{
    return qobject_cast<QGuiApplication *>(QCoreApplication::instance()) != nullptr;
}

// Each kind's forms are printed in an ink of their own, as paper forms are.
QColor inkOf(const QString &kind)
{
    if (kind == QStringLiteral("快递单"))
        return QColor(0xa6, 0x30, 0x2b);
    if (kind == QStringLiteral("普通发票收据"))
        return QColor(0x2a, 0x55, 0x96);
    if (kind == QStringLiteral("国际货运发票"))
        return QColor(0x1d, 0x6b, 0x5f);
    if (kind == QStringLiteral("出口商品发票"))
        return QColor(0x70, 0x4c, 0x22);
    return QColor(0x3c, 0x4a, 0x66);
}

// A block of the form that belongs to one party: its items are found by name,
// and their captions lose the party's prefix inside the block ("寄方电话" is
// "电话" under "寄件人"), as on a printed form.
struct SectionRule
{
    QString title;
    QStringList names;
    QStringList namePrefixes;
    QStringList captionPrefixes;

    bool contains(const QString &name) const
    {
        const QString upper = name.toUpper();
        return names.contains(upper)
            || std::any_of(namePrefixes.cbegin(), namePrefixes.cend(),
                           [&](const QString &p) { return upper.startsWith(p); });
    }
};

QList<SectionRule> sectionRules(const QString &kind)
{
    const SectionRule payer{QStringLiteral("付款方"), {}, {QStringLiteral("ZDGK")}, {QStringLiteral("顾客")}};
    const SectionRule payee{QStringLiteral("收款方"),
                            {},
                            {QStringLiteral("ZDIN")},
                            {QStringLiteral("收款方"), QStringLiteral("收款")}};
    if (kind == QStringLiteral("快递单"))
        return {{QStringLiteral("寄件人"),
                 {QStringLiteral("HKRHANDSET"), QStringLiteral("EDTCOUNTRYFROM"), QStringLiteral("EDTFJRTOWN"),
                  QStringLiteral("ZDJFKHBM"), QStringLiteral("CBFROMSITE")},
                 {QStringLiteral("ZDHKR")},
                 {QStringLiteral("寄件"), QStringLiteral("寄方")}},
                {QStringLiteral("收件人"),
                 {QStringLiteral("SKRHANDSET"), QStringLiteral("EDTCOUNTRYDEST"), QStringLiteral("EDTSJRTOWN"),
                  QStringLiteral("ZDSFKHBM"), QStringLiteral("CBDESTSITE")},
                 {QStringLiteral("ZDSKR")},
                 {QStringLiteral("收件"), QStringLiteral("收方")}}};
    if (kind == QStringLiteral("普通发票收据") || kind == QStringLiteral("发票及收据"))
        return {payer, payee, {QStringLiteral("存根"), {}, {QStringLiteral("CG")}, {QStringLiteral("存根")}}};
    if (kind == QStringLiteral("国际货运发票"))
        return {payer, payee};
    if (kind == QStringLiteral("出口商品发票"))
        return {{QStringLiteral("销货方"), {}, {QStringLiteral("ZDXIAOH")}, {QStringLiteral("销方")}},
                {QStringLiteral("购货方"), {}, {QStringLiteral("ZDGOUH")}, {QStringLiteral("购方")}}};
    return {};
}

// "大写千位" prints as 仟 after its box, as on the capital amount line of a form.
QString capitalUnit(const QString &place)
{
    static const QHash<QString, QString> units{
        {QStringLiteral("千万"), QStringLiteral("仟万")}, {QStringLiteral("百万"), QStringLiteral("佰万")},
        {QStringLiteral("十万"), QStringLiteral("拾万")}, {QStringLiteral("千"), QStringLiteral("仟")},
        {QStringLiteral("百"), QStringLiteral("佰")},     {QStringLiteral("十"), QStringLiteral("拾")}};
    return units.value(place, place);
}

struct Shown
{
    const PrintItem *item = nullptr;
    QRect box;
    QString caption;  // as shown: without the section's prefix
    QString stem;     // the caption without its line number
    QString rowKey;   // a digit box: what the row is ("金额", "合计", "大写")
    QString place;    // a digit box: its place ("千", "元" …)
    QString dateStem; // a date part: "开票" of "开票年"
    QString dateUnit; // a date part: 年, 月 or 日
    int section = -1;
    int column = -1;  // a column of line items
    bool columnTop = false;
    QString checkCaption;
};

struct Label
{
    QRect rect;
    QString text;
    int pixelSize = captionPx;
    Qt::Alignment align;
    int owner = -1; // the item it belongs to, -1 for none
};

struct Column
{
    QList<int> members; // top to bottom
    bool table = false;
};

class PictureLayout
{
public:
    PictureLayout(const TemplateRow &row, const QList<PrintItem> &items, QSize size);

    void placeCaptions();
    void draw(QPainter &p, bool text) const;

private:
    QFont font(int pixelSize, bool bold = false) const;
    int textWidth(const QString &text, int pixelSize = captionPx) const;
    bool isFree(const QRect &r) const;
    bool place(const QRect &r, const QString &text, Qt::Alignment align, int owner, int pixelSize = captionPx);
    QRect leftOf(const QRect &box, int width) const;
    QRect above(const QRect &box, int width, bool centred) const;
    QRect rightOf(const QRect &box, int width) const;
    void findColumns();
    void placeColumnHeader(int i);
    void placeDigitBox(int i);
    void placeSuperHeaders();
    QRect sectionFrame(int section) const;
    void drawTitle(QPainter &p, bool text) const;
    void drawSections(QPainter &p, bool text) const;
    void drawBoxes(QPainter &p, bool text) const;

    const TemplateRow &m_row;
    QSize m_size;
    QColor m_ink;
    QList<SectionRule> m_rules;
    QList<Shown> m_shown;
    QList<Column> m_columns;
    QList<QRect> m_taken;
    QList<Label> m_labels;
};

PictureLayout::PictureLayout(const TemplateRow &row, const QList<PrintItem> &items, QSize size)
    : m_row(row), m_size(size), m_ink(inkOf(row.kind)), m_rules(sectionRules(row.kind))
{
    static const QRegularExpression digits(QStringLiteral("[0-9]"));
    static const QRegularExpression placeName(
        QStringLiteral("^(.*?)(亿|千万|百万|十万|万|千|百|十|元|角|分)位$"));
    static const QRegularExpression datePart(QStringLiteral("^(.+)([年月日])$"));
    static const QRegularExpression checkName(QStringLiteral("^DEFCHECK([0-9]+)$"),
                                              QRegularExpression::CaseInsensitiveOption);
    const QStringList checkCaptions = row.checkBoxes.split(QLatin1Char(','));

    for (const PrintItem &item : items) {
        const QString type = item.type.toUpper();
        if (item.needShow != 1 || type == QStringLiteral("IMAGE") || type == QStringLiteral("SHAPE"))
            continue;
        Shown s;
        s.item = &item;
        s.box = QRect(item.screenX, item.screenY, std::max(1, item.screenW), std::max(1, item.screenH));
        s.caption = item.caption;
        for (int r = 0; r < m_rules.size(); ++r) {
            if (!m_rules[r].contains(item.name))
                continue;
            s.section = r;
            for (const QString &prefix : m_rules[r].captionPrefixes) {
                if (s.caption.startsWith(prefix) && s.caption.size() > prefix.size()) {
                    s.caption = s.caption.mid(prefix.size());
                    break;
                }
            }
            break;
        }
        s.stem = QString(s.caption).remove(digits);
        if (const auto m = placeName.match(s.stem); m.hasMatch()) {
            s.rowKey = m.captured(1);
            s.place = m.captured(2);
        } else if (const auto d = datePart.match(s.caption); d.hasMatch() && s.caption.size() <= 4) {
            s.dateStem = d.captured(1);
            s.dateUnit = d.captured(2);
        }
        if (const auto c = checkName.match(item.name); c.hasMatch()) {
            const int index = c.captured(1).toInt();
            s.checkCaption = index < checkCaptions.size() && !checkCaptions[index].trimmed().isEmpty()
                ? checkCaptions[index].trimmed()
                : item.caption;
        }
        m_taken << s.box;
        m_shown << s;
    }
}

QFont PictureLayout::font(int pixelSize, bool bold) const
{
    QFont f(fontFamily);
    f.setPixelSize(pixelSize);
    f.setBold(bold);
    return f;
}

int PictureLayout::textWidth(const QString &text, int pixelSize) const
{
    return QFontMetrics(font(pixelSize)).horizontalAdvance(text) + 1;
}

bool PictureLayout::isFree(const QRect &r) const
{
    if (!QRect(QPoint(0, 0), m_size).adjusted(4, 4, -4, -4).contains(r))
        return false;
    return std::none_of(m_taken.cbegin(), m_taken.cend(), [&](const QRect &t) { return t.intersects(r); });
}

bool PictureLayout::place(const QRect &r, const QString &text, Qt::Alignment align, int owner, int pixelSize)
{
    if (text.isEmpty() || !isFree(r))
        return false;
    m_taken << r;
    m_labels << Label{r, text, pixelSize, align, owner};
    return true;
}

QRect PictureLayout::leftOf(const QRect &box, int width) const
{
    // A tall box (an address) has its caption beside its first line.
    return QRect(box.left() - captionGap - width, box.top(), width, std::min(box.height(), 24));
}

QRect PictureLayout::above(const QRect &box, int width, bool centred) const
{
    const int left = centred ? box.left() + (box.width() - width) / 2 : box.left();
    return QRect(left, box.top() - 1 - captionHeight, width, captionHeight);
}

QRect PictureLayout::rightOf(const QRect &box, int width) const
{
    return QRect(box.right() + 1 + captionGap, box.top(), width, std::min(box.height(), 24));
}

// Line items (收费内容1 … 收费内容5 under each other) form columns; columns
// over the same rows form a table, captioned once above its first row.
void PictureLayout::findColumns()
{
    for (int i = 0; i < m_shown.size(); ++i) {
        const Shown &s = m_shown[i];
        if (s.column >= 0 || s.stem == s.caption || !s.checkCaption.isEmpty())
            continue;
        Column c;
        for (int j = i; j < m_shown.size(); ++j) {
            const Shown &o = m_shown[j];
            if (o.column < 0 && o.stem == s.stem && std::abs(o.box.left() - s.box.left()) <= 2
                && std::abs(o.box.width() - s.box.width()) <= 2)
                c.members << j;
        }
        if (c.members.size() < 2)
            continue;
        std::sort(c.members.begin(), c.members.end(),
                  [&](int a, int b) { return m_shown[a].box.top() < m_shown[b].box.top(); });
        for (int m : c.members)
            m_shown[m].column = int(m_columns.size());
        m_shown[c.members.first()].columnTop = true;
        m_columns << c;
    }
    for (Column &c : m_columns) {
        for (const Column &o : std::as_const(m_columns)) {
            if (&o == &c || o.members.size() != c.members.size())
                continue;
            bool sameRows = true;
            for (int k = 0; k < c.members.size() && sameRows; ++k)
                sameRows = std::abs(m_shown[c.members[k]].box.top() - m_shown[o.members[k]].box.top()) <= 2;
            if (sameRows) {
                c.table = true;
                break;
            }
        }
    }
}

void PictureLayout::placeColumnHeader(int i)
{
    const Shown &s = m_shown[i];
    const QString text = s.place.isEmpty() ? s.stem
        : s.rowKey.startsWith(QStringLiteral("大写")) ? capitalUnit(s.place)
                                                      : s.place;
    // Place names stand over narrow digit boxes.
    const int px = s.place.isEmpty() ? captionPx : placePx;
    const int w = textWidth(text, px);
    if (!place(above(s.box, w, true), text, Qt::AlignCenter, i, px))
        place(leftOf(s.box, w), text, Qt::AlignRight | Qt::AlignVCenter, i, px);
}

// A digit box outside a table: capital digits carry their unit after the box
// (□仟□佰□拾□元), other digits their place above it when there is room; the
// row's name stands before its first box.
void PictureLayout::placeDigitBox(int i)
{
    const Shown &s = m_shown[i];
    const bool capital = s.rowKey.startsWith(QStringLiteral("大写"));
    const QString unit = capital ? capitalUnit(s.place) : s.place;
    const int w = textWidth(unit);
    if (capital)
        place(rightOf(s.box, w), unit, Qt::AlignLeft | Qt::AlignVCenter, i);
    else
        place(above(s.box, w, true), unit, Qt::AlignCenter, i);

    const bool first = std::none_of(m_shown.cbegin(), m_shown.cend(), [&](const Shown &o) {
        return !o.place.isEmpty() && o.rowKey == s.rowKey && o.column < 0
            && std::abs(o.box.top() - s.box.top()) <= 2 && o.box.left() < s.box.left();
    });
    if (first && !s.rowKey.isEmpty())
        place(leftOf(s.box, textWidth(s.rowKey)), s.rowKey, Qt::AlignRight | Qt::AlignVCenter, i);
}

// The digit columns of a table get their amount's name over their place names.
void PictureLayout::placeSuperHeaders()
{
    QHash<QString, QRect> spans;
    for (const Label &l : std::as_const(m_labels)) {
        if (l.owner < 0)
            continue;
        const Shown &s = m_shown[l.owner];
        if (s.columnTop && !s.place.isEmpty() && m_columns[s.column].table && l.rect.bottom() < s.box.top())
            spans[s.rowKey] = spans.value(s.rowKey).united(l.rect);
    }
    for (auto it = spans.cbegin(); it != spans.cend(); ++it) {
        if (it.key().isEmpty())
            continue;
        const QRect span = it.value();
        place(QRect(span.left(), span.top() - captionHeight, span.width(), captionHeight), it.key(),
              Qt::AlignCenter, -1);
    }
}

void PictureLayout::placeCaptions()
{
    findColumns();
    QList<int> order(m_shown.size());
    for (int i = 0; i < order.size(); ++i)
        order[i] = i;
    std::sort(order.begin(), order.end(), [&](int a, int b) {
        const QRect &ra = m_shown[a].box;
        const QRect &rb = m_shown[b].box;
        return ra.top() != rb.top() ? ra.top() < rb.top() : ra.left() < rb.left();
    });
    const Qt::Alignment leftAlign = Qt::AlignRight | Qt::AlignVCenter;
    for (int i : order) {
        const Shown &s = m_shown[i];
        const QString type = s.item->type.toUpper();
        if (!s.checkCaption.isEmpty() || type == QStringLiteral("CHECKBOX") || type == QStringLiteral("LINE"))
            continue;
        if (s.column >= 0 && m_columns[s.column].table) {
            if (s.columnTop)
                placeColumnHeader(i);
        } else if (!s.place.isEmpty()) {
            placeDigitBox(i);
        } else if (!s.dateUnit.isEmpty()) {
            place(rightOf(s.box, textWidth(s.dateUnit)), s.dateUnit, Qt::AlignLeft | Qt::AlignVCenter, i);
            if (s.dateUnit == QStringLiteral("年")) {
                const QString caption = s.dateStem + QStringLiteral("日期");
                place(leftOf(s.box, textWidth(caption)), caption, leftAlign, i);
            }
        } else {
            const int w = textWidth(s.caption);
            if (!place(leftOf(s.box, w), s.caption, leftAlign, i) && !place(above(s.box, w, false), s.caption,
                                                                              Qt::AlignLeft | Qt::AlignVCenter, i))
                m_labels << Label{s.box.adjusted(2, 1, 0, 0), s.caption, smallPx, Qt::AlignLeft | Qt::AlignTop, i};
        }
    }
    placeSuperHeaders();
}

QRect PictureLayout::sectionFrame(int section) const
{
    QRect r;
    int members = 0;
    for (int i = 0; i < m_shown.size(); ++i) {
        if (m_shown[i].section != section)
            continue;
        r = r.united(m_shown[i].box);
        ++members;
    }
    if (members < 2)
        return {};
    for (const Label &l : m_labels) {
        if (l.owner >= 0 && m_shown[l.owner].section == section)
            r = r.united(l.rect);
    }
    return r.adjusted(-sectionPad, -sectionPad, sectionPad, sectionPad);
}

void PictureLayout::drawSections(QPainter &p, bool text) const
{
    for (int s = 0; s < m_rules.size(); ++s) {
        const QRect frame = sectionFrame(s);
        if (frame.isNull())
            continue;
        p.setPen(QPen(m_ink, 1.6));
        p.setBrush(Qt::NoBrush);
        p.drawRect(frame);
        // A counterfoil is torn off along a perforation right of it.
        if (m_rules[s].title == QStringLiteral("存根") && frame.right() < m_size.width() / 2) {
            p.setPen(QPen(m_ink, 1, Qt::DashLine));
            p.drawLine(frame.right() + 7, 8, frame.right() + 7, m_size.height() - 9);
        }
        if (!text)
            continue;
        const QRect band(frame.left() - bandWidth - 1, frame.top(), bandWidth, frame.height());
        const QString &title = m_rules[s].title;
        // The title stands letter under letter in a band, smaller in a low block.
        const int step = std::min(captionPx + 8, band.height() / std::max(1, int(title.size())));
        if (isFree(band) && step >= 9) {
            p.fillRect(band, m_ink);
            p.setPen(QColor(0xff, 0xff, 0xff));
            p.setFont(font(std::min(captionPx, step - 1), true));
            const int top = band.top() + (band.height() - step * int(title.size())) / 2;
            for (int k = 0; k < title.size(); ++k)
                p.drawText(QRect(band.left(), top + k * step, band.width(), step), Qt::AlignCenter, title.mid(k, 1));
        } else {
            const QRect above(frame.left(), frame.top() - captionHeight - 1, textWidth(title) + 4, captionHeight);
            if (isFree(above)) {
                p.setPen(m_ink);
                p.setFont(font(captionPx, true));
                p.drawText(above, Qt::AlignLeft | Qt::AlignVCenter, title);
            }
        }
    }
}

void PictureLayout::drawTitle(QPainter &p, bool text) const
{
    if (!text)
        return;
    // Centre the title over the form itself, right of a counterfoil.
    int left = 0;
    for (int s = 0; s < m_rules.size(); ++s) {
        const QRect frame = sectionFrame(s);
        if (m_rules[s].title == QStringLiteral("存根") && !frame.isNull() && frame.right() < m_size.width() / 2)
            left = frame.right() + 8;
    }
    const int px = std::clamp(int(m_size.height() * 0.042), 16, 26);
    QFont big = font(px, true);
    big.setLetterSpacing(QFont::AbsoluteSpacing, px * 0.4);
    const QString title = m_row.kind.isEmpty() ? m_row.fullName : m_row.kind;
    const int width = QFontMetrics(big).horizontalAdvance(title);
    const int centre = (left + m_size.width()) / 2;
    const int top = 7;
    const int height = px + px / 4;
    p.setPen(m_ink);
    p.setFont(big);
    p.drawText(QRect(centre - width / 2 - px, top, width + 2 * px, height), Qt::AlignCenter, title);
    // The double rule under a bill's title.
    const double rule = top + height + 1.5;
    p.setPen(QPen(m_ink, 1.2));
    p.drawLine(QPointF(centre - width / 2.0 - 6, rule), QPointF(centre + width / 2.0 + 6, rule));
    p.setPen(QPen(m_ink, 0.7));
    p.drawLine(QPointF(centre - width / 2.0 - 6, rule + 3), QPointF(centre + width / 2.0 + 6, rule + 3));
    if (!m_row.displayName.isEmpty() && m_row.displayName != m_row.kind) {
        p.setFont(font(captionPx));
        p.drawText(QRect(centre - 150, int(rule) + 5, 300, captionHeight), Qt::AlignCenter, m_row.displayName);
    }
}

void PictureLayout::drawBoxes(QPainter &p, bool text) const
{
    QColor line = m_ink;
    line.setAlpha(190);
    for (const Shown &s : m_shown) {
        const PrintItem &item = *s.item;
        const QString type = item.type.toUpper();
        if (type == QStringLiteral("LINE")) {
            p.setPen(QPen(m_ink, item.bold > 0 ? 2 : 1));
            if (s.box.height() > s.box.width())
                p.drawLine(s.box.topLeft(), s.box.bottomLeft());
            else
                p.drawLine(s.box.topLeft(), s.box.topRight());
            continue;
        }
        if (!s.checkCaption.isEmpty() || type == QStringLiteral("CHECKBOX")) {
            const int side = std::clamp(s.box.height() - 6, 8, 12);
            const QRect square(s.box.left() + 2, s.box.top() + (s.box.height() - side) / 2, side, side);
            p.setPen(QPen(m_ink, 1.2));
            p.setBrush(QColor(0xff, 0xff, 0xff));
            p.drawRect(square);
            if (text) {
                p.setPen(m_ink);
                p.setFont(font(captionPx));
                p.drawText(QRect(square.right() + 4, s.box.top(), s.box.right() - square.right() - 3, s.box.height()),
                           Qt::AlignLeft | Qt::AlignVCenter,
                           s.checkCaption.isEmpty() ? s.caption : s.checkCaption);
            }
            continue;
        }
        p.setPen(QPen(line, 1));
        p.setBrush(QColor(0xff, 0xff, 0xff));
        p.drawRect(QRectF(s.box).adjusted(0.5, 0.5, -0.5, -0.5));
        // Equal-width printing spreads the value over digit boxes of the form.
        bool ok = false;
        const int advance = item.fitParam.trimmed().toInt(&ok);
        if (ok && advance > 0 && m_row.effectivePaperWidth() > 0) {
            const double step = double(advance) * m_size.width() / m_row.effectivePaperWidth();
            if (step >= 4) {
                for (double x = s.box.left() + step; x < s.box.right() - 2; x += step)
                    p.drawLine(QPointF(x, s.box.top() + 0.5), QPointF(x, s.box.bottom() + 0.5));
            }
        }
    }
}

void PictureLayout::draw(QPainter &p, bool text) const
{
    p.fillRect(QRect(QPoint(0, 0), m_size), QColor(0xfb, 0xf8, 0xef));
    drawTitle(p, text);
    drawSections(p, text);
    drawBoxes(p, text);
    if (text) {
        p.setPen(m_ink);
        for (const Label &l : m_labels) {
            p.setFont(font(l.pixelSize));
            p.drawText(l.rect, l.align, l.text);
        }
    }
    p.setPen(QPen(m_ink, 2));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRect(QPoint(0, 0), m_size).adjusted(3, 3, -4, -4));
}

int intValue(const QSqlQuery &q, const char *column, int fallback)
{
    const QVariant v = q.value(QLatin1String(column));
    bool ok = false;
    const int i = v.toInt(&ok);
    return v.isNull() || !ok ? fallback : i;
}

QString textValue(const QSqlQuery &q, const char *column)
{
    return q.value(QLatin1String(column)).toString();
}

} // namespace

QImage drawFormPicture(const TemplateRow &row, const QList<PrintItem> &items)
{
    // At about 96 dpi when the template has no screen size of its own.
    const int width = row.screenWidth > 0 ? row.screenWidth : qRound(row.effectivePaperWidth() * 0.378);
    const int height = row.screenHeight > 0 ? row.screenHeight : qRound(row.effectivePaperHeight() * 0.378);
    QImage image(std::max(width, 1), std::max(height, 1), QImage::Format_RGB32);
    const bool text = canDrawText();
    PictureLayout layout(row, items, image.size());
    if (text)
        layout.placeCaptions();
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    layout.draw(p, text);
    return image;
}

void writeMissingPictures(QSqlDatabase db, const QString &imageDir)
{
    QSqlQuery q(db);
    q.prepare(QStringLiteral("select CheckTypeID,TypeName,TypeFirstName,TypeDescribe,TWidth,THeight,PWidth,PHeight,"
                             "HVPrint,ImgFile,CheckBoxs from CKTypeTable order by CheckTypeID"));
    if (!q.exec())
        return;
    QList<TemplateRow> rows;
    while (q.next()) {
        TemplateRow row;
        row.id = intValue(q, "CheckTypeID", 0);
        row.fullName = textValue(q, "TypeName");
        row.kind = textValue(q, "TypeFirstName");
        row.displayName = textValue(q, "TypeDescribe");
        row.screenWidth = intValue(q, "TWidth", 0);
        row.screenHeight = intValue(q, "THeight", 0);
        row.paperWidth = intValue(q, "PWidth", 0);
        row.paperHeight = intValue(q, "PHeight", 0);
        row.orientation = intValue(q, "HVPrint", 0);
        row.imageFile = textValue(q, "ImgFile").trimmed();
        row.checkBoxes = textValue(q, "CheckBoxs");
        rows << row;
    }
    q.finish();
    if (!QDir().mkpath(imageDir))
        return;
    const QDir dir(imageDir);
    for (const TemplateRow &row : std::as_const(rows)) {
        // The picture stays inside the image folder whatever the row names.
        const QString file = QFileInfo(row.imageFile).fileName();
        if (file.isEmpty() || !pictureNeedsDrawing(dir.filePath(file)))
            continue;
        savePictureWhole(drawFormPicture(row, PrintItemStore(db).itemList(row.id)), dir.filePath(file), "JPG", 90);
    }
}

} // namespace moque::templates
