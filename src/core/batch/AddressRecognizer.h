#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

namespace moque::batch {

// One recognised party: each field as chosen and, for the recognition window's
// drop-down boxes, every candidate found (the chosen one first).
struct RecognizedAddress
{
    QString name;
    QString mobile;
    QString phone;
    QString zipcode;
    QString province; // "广东省"; municipalities, autonomous regions, 香港 and 澳门 by their short names
    QString city;
    QString district;
    QString address;  // the street address, without province, city and district
    QString company;  // 单位全称
    QString country;

    QStringList names;
    QStringList mobiles;
    QStringList phones;
    QStringList zipcodes;
    QStringList provinces;
    QStringList cities;
    QStringList districts;
    QStringList addresses;
    QStringList companies;
    QStringList countries;

    bool isEmpty() const;
    // Province, city and district in front of the street address (含省市).
    QString fullAddress() const;
};

// Splits an address text pasted from an online shop (Taobao, JD, Pinduoduo
// lines, labelled lines, free chat text) into name, handset, phone, post code,
// province, city, district and street address. Stateless once built, so one
// object serves any number of texts and threads.
class AddressRecognizer
{
public:
    // The user's own substitutions (code list "其他字符": text → replacement),
    // applied in order while normalising.
    using Substitutions = QList<QPair<QString, QString>>;

    // The window's input box takes at most this many characters.
    static constexpr int maxTextLength = 1024;

    // The recognition window's own patterns, each run as the window writes it.
    enum class Pattern {
        Mobile,
        Phone1,
        Phone2,
        Phone3,
        Phone4,
        PhoneFallback,
        PostCodeLabelled,
        PostCodeBracketed,
        Name1,
        Name2,
        Name3,
        Region,         // the two fixed region patterns, then the 16 joined ones
        Address1,
        Address2,
        Country,
        Paipai,         // the 拍拍 address pattern narrowed by its inner pattern
        Organisation1,
        Organisation2,
        CompanyAsAddress,
    };

    // How the text was written, as the window's format choice tells.
    enum class Layout {
        Any,
        Paipai, // 拍拍: name, region, street, (post code), handset and phone on one line
    };

    explicit AddressRecognizer(Substitutions substitutions = {});

    // What one of the window's patterns alone reads in a text, its values
    // joined by "|"; for Region the province, city and town of the first
    // region match, joined by "|". Empty when it finds nothing.
    static QString verbatimMatch(Pattern pattern, const QString &text);

    // The text as recognition reads it: full-width forms made plain, shop
    // status words and symbols dropped, labels given their colon, one line
    // break between lines. Empty when nothing but blanks remains.
    QString normalize(const QString &text) const;

    RecognizedAddress recognize(const QString &text, Layout layout = Layout::Any) const;

private:
    Substitutions m_substitutions;
};

} // namespace moque::batch
