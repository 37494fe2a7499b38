#include "batch/AddressRecognizer.h"
#include "batch/ChinaDivisions.h"

#include <QFile>
#include <QHash>
#include <QTest>
#include <QTextStream>

#include <algorithm>
#include <thread>
#include <vector>

using namespace moque::batch;

namespace {

struct Expected
{
    QString name, mobile, phone, province, city, district, address, zipcode;
};

QString unescape(QString s)
{
    QString out;
    for (qsizetype i = 0; i < s.size(); ++i) {
        if (s.at(i) == QLatin1Char('\\') && i + 1 < s.size()) {
            const QChar next = s.at(++i);
            out += next == QLatin1Char('n') ? QStringLiteral("\n") : next == QLatin1Char('t') ? QStringLiteral("\t") : QString(next);
        } else {
            out += s.at(i);
        }
    }
    return out;
}

} // namespace

Q_DECLARE_METATYPE(Expected)

class TestAddressRecognizer : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // The division list loads once however many threads recognise at the same time.
    // First of all, so that the threads are the first to need the list.
    void threads()
    {
        const QString text = QStringLiteral("吉林省吉林市昌邑区解放中路123号 李四 13912345678");
        std::vector<RecognizedAddress> results(8);
        std::vector<std::thread> threads;
        const AddressRecognizer recognizer;
        for (auto &result : results)
            threads.emplace_back([&recognizer, &result, &text] { result = recognizer.recognize(text); });
        for (auto &t : threads)
            t.join();
        for (const RecognizedAddress &r : results) {
            QCOMPARE(r.city, QStringLiteral("吉林市"));
            QCOMPARE(r.district, QStringLiteral("昌邑区"));
            QCOMPARE(r.address, QStringLiteral("解放中路123号"));
        }
    }

    // Real shop texts of every format: name, handset, province, city, district and
    // street address all right for at least 95 of every 100.
    void shopTexts()
    {
        QFile file(QStringLiteral(MOQUE_ADDRESS_FIXTURES "/shop-texts.tsv"));
        QVERIFY(file.open(QIODevice::ReadOnly | QIODevice::Text));
        QTextStream in(&file);
        const AddressRecognizer recognizer;
        int rows = 0;
        int allRight = 0;
        int phonesAndCodesRight = 0;
        while (!in.atEnd()) {
            const QString line = in.readLine();
            if (line.startsWith(QLatin1Char('#')) || line.isEmpty())
                continue;
            const QStringList c = line.split(QLatin1Char('\t'));
            QCOMPARE(c.size(), 9);
            const QString text = unescape(c.at(0));
            const RecognizedAddress r = recognizer.recognize(text);
            ++rows;
            const QStringList got{r.name, r.mobile, r.province, r.city, r.district, r.address};
            const QStringList want{c.at(1), c.at(2), c.at(4), c.at(5), c.at(6), c.at(7)};
            if (got == want)
                ++allRight;
            else
                qInfo().noquote() << "missed:" << text << "→" << got.join(QLatin1Char('|')) << "want"
                                  << want.join(QLatin1Char('|'));
            if (r.phone == c.at(3) && r.zipcode == c.at(8))
                ++phonesAndCodesRight;
            else
                qInfo().noquote() << "phone/post code missed:" << text << "→" << r.phone << r.zipcode;
        }
        QVERIFY(rows >= 100);
        qInfo("recognised all six fields of %d of %d texts (%.1f%%); phone and post code of %d", allRight, rows,
              100.0 * allRight / rows, phonesAndCodesRight);
        QVERIFY2(allRight * 100 >= rows * 95, "fewer than 95 of 100 texts recognised");
        QVERIFY2(phonesAndCodesRight * 100 >= rows * 95, "fewer than 95 of 100 phones and post codes recognised");
    }

    // Texts that the window's own patterns lose or corrupt a field of, mended.
    void mends_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<Expected>("expected");
        QTest::newRow("post code in full-width brackets")
            << QStringLiteral("张伟，13800138000，广东省 深圳市 南山区 科技南十二路28号（518057）")
            << Expected{"张伟", "13800138000", "", "广东省", "深圳市", "南山区", "科技南十二路28号", "518057"};
        QTest::newRow("香港")
            << QStringLiteral("香港特别行政区 九龙 油尖旺区 弥敦道100号 陈大文 13612345678")
            << Expected{"陈大文", "13612345678", "", "香港", "九龙", "油尖旺区", "弥敦道100号", ""};
        QTest::newRow("澳门")
            << QStringLiteral("收货人：梁小玲，13726781234，澳门澳门半岛大堂区友谊大马路555号")
            << Expected{"梁小玲", "13726781234", "", "澳门", "澳门半岛", "大堂区", "友谊大马路555号", ""};
        QTest::newRow("吉林省吉林市")
            << QStringLiteral("吉林省吉林市昌邑区解放中路123号 李四 13912345678")
            << Expected{"李四", "13912345678", "", "吉林省", "吉林市", "昌邑区", "解放中路123号", ""};
        QTest::newRow("city standing for the province")
            << QStringLiteral("吉林市船营区北京路5号 王五 13512345678")
            << Expected{"王五", "13512345678", "", "吉林省", "吉林市", "船营区", "北京路5号", ""};
        QTest::newRow("without 省 and 市")
            << QStringLiteral("广东深圳南山区科技园路1号，张三，13800138000")
            << Expected{"张三", "13800138000", "", "广东省", "深圳市", "南山区", "科技园路1号", ""};
        QTest::newRow("comma line")
            << QStringLiteral("孙悦,13145678901,福建省,厦门市,思明区,湖滨南路388号国贸大厦15楼")
            << Expected{"孙悦", "13145678901", "", "福建省", "厦门市", "思明区", "湖滨南路388号国贸大厦15楼", ""};
        QTest::newRow("labelled lines")
            << QStringLiteral("收货人：刘洋\n手机号码：137 1234 5678\n所在地区：湖北省 武汉市 洪山区\n详细地址：珞瑜路1037号\n邮编：430074")
            << Expected{"刘洋", "13712345678", "", "湖北省", "武汉市", "洪山区", "珞瑜路1037号", "430074"};
        QTest::newRow("Taobao old")
            << QStringLiteral("张伟，13800138000，0755-26888888，广东省 深圳市 南山区 科技南十二路28号，518057")
            << Expected{"张伟", "13800138000", "0755-26888888", "广东省", "深圳市", "南山区", "科技南十二路28号", "518057"};
        QTest::newRow("Taobao new")
            << QStringLiteral("收货地址：王芳，86-13912345678，江苏省 南京市 鼓楼区 中山北路30号 ，210003")
            << Expected{"王芳", "13912345678", "", "江苏省", "南京市", "鼓楼区", "中山北路30号", "210003"};
        QTest::newRow("JD")
            << QStringLiteral("收货人：陈静\n地址：北京朝阳区建国路88号SOHO现代城C座1501\n手机：186****4567 18601234567")
            << Expected{"陈静", "18601234567", "", "北京", "北京市", "朝阳区", "建国路88号SOHO现代城C座1501", ""};
        QTest::newRow("Pinduoduo")
            << QStringLiteral("赵磊 13983001234 重庆市渝中区解放碑邹容路100号")
            << Expected{"赵磊", "13983001234", "", "重庆", "重庆市", "渝中区", "解放碑邹容路100号", ""};
        QTest::newRow("WeChat free text")
            << QStringLiteral("老板麻烦发到：浙江省杭州市西湖区文三路478号 王小明 15957112345 谢谢")
            << Expected{"王小明", "15957112345", "", "浙江省", "杭州市", "西湖区", "文三路478号", ""};
        QTest::newRow("labels without their colon")
            << QStringLiteral("收货地址 广东省深圳市福田区福华路88号 姓名 何明 手机 13800138000")
            << Expected{"何明", "13800138000", "", "广东省", "深圳市", "福田区", "福华路88号", ""};
        QTest::newRow("labels in heavy brackets")
            << QStringLiteral("【收货人】周星 【手机】13700001111 【地址】广东省 佛山市 顺德区 大良街道凤山中路18号【邮编】528300")
            << Expected{"周星", "13700001111", "", "广东省", "佛山市", "顺德区", "大良街道凤山中路18号", "528300"};
        QTest::newRow("name and labels inside the street's line")
            << QStringLiteral("寄到 山东省济南市历下区泉城路180号 给 张小凡 手机 13605311234")
            << Expected{"张小凡", "13605311234", "", "山东省", "济南市", "历下区", "泉城路180号", ""};
        QTest::newRow("name with 收 and a bracketed title")
            << QStringLiteral("收件人：何（先生）收 13800138000 上海市静安区南京西路1266号恒隆广场")
            << Expected{"何先生", "13800138000", "", "上海", "上海市", "静安区", "南京西路1266号恒隆广场", ""};
        QTest::newRow("name in Latin letters")
            << QStringLiteral("Tom Lee, 13800138000, 广东省广州市越秀区北京路步行街100号")
            << Expected{"Tom Lee", "13800138000", "", "广东省", "广州市", "越秀区", "北京路步行街100号", ""};
        QTest::newRow("新疆维吾尔族自治区")
            << QStringLiteral("何雪，13909912345，新疆维吾尔族自治区 乌鲁木齐市 天山区 解放北路88号")
            << Expected{"何雪", "13909912345", "", "新疆", "乌鲁木齐市", "天山区", "解放北路88号", ""};
        QTest::newRow("autonomous prefecture by its short name")
            << QStringLiteral("梁晨 13012345678 湖北恩施恩施市舞阳大道168号")
            << Expected{"梁晨", "13012345678", "", "湖北省", "恩施土家族苗族自治州", "恩施市", "舞阳大道168号", ""};
        QTest::newRow("旺旺在线 between fields")
            << QStringLiteral("宋佳旺旺在线13922223333，广东省 广州市 天河区 天河路385号")
            << Expected{"宋佳", "13922223333", "", "广东省", "广州市", "天河区", "天河路385号", ""};
        QTest::newRow("landline in brackets with extension")
            << QStringLiteral("韩梅 (0411)82345678-801 辽宁省大连市中山区人民路23号")
            << Expected{"韩梅", "", "0411-82345678-801", "辽宁省", "大连市", "中山区", "人民路23号", ""};
        QTest::newRow("emoji and control characters between fields")
            << QStringLiteral("😀林峰\u0007，13666688888🎁，广西 南宁市 青秀区 民族大道136号")
            << Expected{"林峰", "13666688888", "", "广西", "南宁市", "青秀区", "民族大道136号", ""};
    }
    void mends()
    {
        QFETCH(QString, text);
        QFETCH(Expected, expected);
        const RecognizedAddress r = AddressRecognizer().recognize(text);
        QCOMPARE(r.name, expected.name);
        QCOMPARE(r.mobile, expected.mobile);
        QCOMPARE(r.phone, expected.phone);
        QCOMPARE(r.province, expected.province);
        QCOMPARE(r.city, expected.city);
        QCOMPARE(r.district, expected.district);
        QCOMPARE(r.address, expected.address);
        QCOMPARE(r.zipcode, expected.zipcode);
    }

    // Each mend: the window's own pattern alone loses or corrupts a field of the text, the mended
    // recognition gets it right.
    void verbatimPatternMended_data()
    {
        using P = AddressRecognizer::Pattern;
        QTest::addColumn<int>("pattern");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("verbatim");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("mended");
        auto row = [](const char *name, P pattern, const char *text, const char *verbatim, const char *field,
                      const char *mended) {
            QTest::newRow(name) << int(pattern) << QString::fromUtf8(text) << QString::fromUtf8(verbatim)
                                << QString::fromUtf8(field) << QString::fromUtf8(mended);
        };
        row("handset in groups", P::Mobile, "何雪,139 0991 2345,新疆维吾尔族自治区 乌鲁木齐市 天山区 解放北路88号", "",
            "mobile", "13909912345");
        row("handset with hyphens", P::Mobile, "地址:内蒙古自治区呼和浩特市新城区新华大街63号,高远,158-4711-2345", "",
            "mobile", "15847112345");
        row("handset inside a longer number", P::Mobile, "张伟 138001380001 广东省深圳市南山区科技南十二路28号",
            "138001380001", "mobile", "");
        row("landline in brackets with extension", P::Phone4, "韩梅 (0411)82345678-801 辽宁省大连市中山区人民路23号",
            "(0411)82345678-", "phone", "0411-82345678-801");
        row("extension past 15 characters", P::Phone3, "张伟 0755-26888888-123 广东省深圳市南山区科技南十二路28号",
            "0755-26888888-1", "phone", "0755-26888888-123");
        row("area code set off by a space", P::Phone2, "张伟 0755 26888888 广东省深圳市南山区科技南十二路28号",
            "26888888", "phone", "0755-26888888");
        row("post code in full-width brackets", P::PostCodeBracketed,
            "高远,15847112345,内蒙古自治区 呼和浩特市 新城区 新华大街63号（010050）\n", "", "zipcode", "010050");
        row("name running into the next label", P::Name1, "联系人:潘越\t联系电话:18830303030\t收货地址:甘肃省 兰州市 城关区天水南路222号",
            "潘越\t联系电话:1883030", "name", "潘越");
        row("word of thanks after a surname", P::Name3, "麻烦发到:山西省太原市小店区长风街100号 于洋 17750505050 谢谢\n",
            "于洋|谢谢", "name", "于洋");
        row("place after a surname", P::Name3, "江苏 苏州 姑苏区 平江路128号,顾城,13962101234", "江苏|苏州|苏区", "name",
            "顾城");
        row("surname not in the list", P::Name3, "13566667777 欧阳娜娜\n云南省 昆明市 五华区 东风西路11号", "", "name",
            "欧阳娜娜");
        row("香港", P::Region, "香港特别行政区九龙油尖旺区弥敦道100号 罗斌 13611112222", "香港||特别行政区九龙油尖旺区",
            "district", "油尖旺区");
        row("吉林省吉林市", P::Region, "吉林省吉林市船营区北京路5号院2单元301 黄丽 13512345678", "吉林|省吉林市|船营区",
            "city", "吉林市");
        row("内蒙古自治区", P::Region, "内蒙古自治区呼和浩特市新城区新华大街63号 高远 15847112345",
            "内蒙古自治区|呼和浩特市|新城区", "province", "内蒙古");
        row("city without a district", P::Region, "湖北省仙桃市干河街道仙桃大道38号 郑爽 18971234567", "", "city",
            "仙桃市");
        row("without 省 and 市", P::Region, "浙江杭州西湖区文三路478号华星时代广场A座1203,李娜,15057112345", "",
            "province", "浙江省");
        row("street running into the name", P::Address1, "麻烦发到:山西省太原市小店区长风街100号 于洋 17750505050 谢谢",
            "山西省太原市小店区长风街100号 于洋 17750505050 谢谢", "address", "长风街100号");
        row("country running into the next field", P::Country,
            "国家:中国,姓名:张小明,手机:13800138000,地址:广东省深圳市南山区科苑路15号", "中国,姓名:张小明,手机:13800138000", "country",
            "中国");
        row("company at the end of the street", P::Organisation1,
            "张小明,13800138000,广东省深圳市南山区科苑路15号墨雀科技有限公司", "广东省深圳市南山区科苑路15号墨雀科技有限公司",
            "company", "墨雀科技有限公司");
        row("street ending in 站", P::Organisation1, "张小明,13800138000,广东省深圳市南山区科技园地铁站",
            "广东省深圳市南山区科技园地铁站", "company", "");
        row("street with its post code", P::Address1, "高远,15847112345,内蒙古自治区 呼和浩特市 新城区 新华大街63号（010050）",
            "内蒙古自治区 呼和浩特市 新城区 新华大街63号（010050）", "address", "新华大街63号");
    }
    void verbatimPatternMended()
    {
        QFETCH(int, pattern);
        QFETCH(QString, text);
        QFETCH(QString, verbatim);
        QFETCH(QString, field);
        QFETCH(QString, mended);
        text = unescape(text);
        QCOMPARE(AddressRecognizer::verbatimMatch(AddressRecognizer::Pattern(pattern), text), unescape(verbatim));
        const RecognizedAddress r = AddressRecognizer().recognize(text);
        const QHash<QString, QString> fields{{"mobile", r.mobile}, {"phone", r.phone}, {"zipcode", r.zipcode},
                                             {"name", r.name}, {"province", r.province}, {"city", r.city},
                                             {"district", r.district}, {"address", r.address},
                                             {"company", r.company}, {"country", r.country}};
        QVERIFY(fields.contains(field));
        QCOMPARE(fields.value(field), mended);
    }

    // The window's patterns read as ECMAScript reads them: a "|" in a class and a "]" outside one are
    // literal characters, and an empty text finds nothing.
    void verbatimPatternReads_data()
    {
        using P = AddressRecognizer::Pattern;
        QTest::addColumn<int>("pattern");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("verbatim");
        auto row = [](const char *name, P pattern, const char *text, const char *verbatim) {
            QTest::newRow(name) << int(pattern) << QString::fromUtf8(text) << QString::fromUtf8(verbatim);
        };
        row("labelled phone", P::Phone1, "电话:0755-26888888,广东省", "0755-26888888");
        row("phone with area code", P::Phone3, "张伟 0755-26888888 广东省", "0755-26888888");
        row("phone without area code", P::PhoneFallback, "分机 26888888-8001 广东省", "26888888-8001");
        row("labelled post code", P::PostCodeLabelled, "邮编:518057\n", "518057");
        row("post code after a comma", P::PostCodeBracketed, "科技南十二路28号,518057\n", ",518057");
        row("municipality", P::Region, "天津市和平区南京路189号津汇广场", "天津|天津市|和平区");
        row("a | in a class", P::Name2, "备注|王芳,13912345678", "|王芳,");
        row("province and city line", P::Address2, "地址 广东省深圳市南山区科技南十二路28号\n",
            "广东省深圳市南山区科技南十二路28号");
        row("a ] outside a class", P::Region, "香港特别行政区]九龙油尖旺区弥敦道100号", "香港||特别行政区]九龙油尖旺区");
        row("empty text", P::Region, "", "");
        row("empty text, handset", P::Mobile, "", "");
        row("empty text, company", P::Organisation1, "", "");
        row("labelled company", P::Organisation1, "公司:墨雀科技有限公司\n姓名:张小明", "墨雀科技有限公司");
        row("court", P::Organisation2, "单位:深圳市南山区人民法院\n", "深圳市南山区人民法院");
        row("labelled country", P::Country, "国家:中国\n省:广东省", "中国");
        row("company standing for the address, with its comma", P::CompanyAsAddress, "公司:墨雀科技有限公司,张小明",
            "墨雀科技有限公司,");

    }
    void verbatimPatternReads()
    {
        QFETCH(int, pattern);
        QFETCH(QString, text);
        QFETCH(QString, verbatim);
        QCOMPARE(AddressRecognizer::verbatimMatch(AddressRecognizer::Pattern(pattern), unescape(text)), verbatim);
    }

    // 拍拍 texts: the window's 拍拍 pattern chooses the street, mended to the street alone; any other
    // layout leaves the choice to the general steps.
    void paipaiLayout_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("verbatim");
        QTest::addColumn<QString>("anyLayout");
        QTest::addColumn<QString>("paipai");
        QTest::newRow("the window's sample")
            << QStringLiteral("张小明 广东省深圳市南山区 科苑路15号科兴科学园A栋(518057) 13800138000 0755-86001234")
            << QStringLiteral("广东省深圳市南山区 科苑路15号科兴科学园A栋(518057) 13800138000 0755-86001234")
            << QStringLiteral("科苑路15号科兴科学园A栋") << QStringLiteral("科苑路15号科兴科学园A栋");
        QTest::newRow("street written in two words")
            << QStringLiteral("李娜 浙江省杭州市西湖区 文三路478号 华星时代广场A座1203(310012) 15057112345")
            << QStringLiteral("浙江省杭州市西湖区 文三路478号 华星时代广场A座1203(310012) 15057112345")
            << QStringLiteral("文三路478号 华星时代广场A座1203") << QStringLiteral("文三路478号 华星时代广场A座1203");
        QTest::newRow("estate named like a person")
            << QStringLiteral("陈明 浙江省杭州市余杭区 古墩路1号 万科 金色家园(311113) 13800138000")
            << QStringLiteral("浙江省杭州市余杭区 古墩路1号 万科 金色家园(311113) 13800138000")
            << QStringLiteral("古墩路1号") << QStringLiteral("古墩路1号 万科 金色家园");
    }
    void paipaiLayout()
    {
        QFETCH(QString, text);
        QFETCH(QString, verbatim);
        QFETCH(QString, anyLayout);
        QFETCH(QString, paipai);
        QCOMPARE(AddressRecognizer::verbatimMatch(AddressRecognizer::Pattern::Paipai, text), verbatim);
        const AddressRecognizer recognizer;
        QCOMPARE(recognizer.recognize(text).address, anyLayout);
        const RecognizedAddress r = recognizer.recognize(text, AddressRecognizer::Layout::Paipai);
        QCOMPARE(r.address, paipai);
        QCOMPARE(r.addresses.constFirst(), paipai);
    }

    // The labelled lines of the general format: company and country chosen, every candidate offered.
    void companyAndCountry_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("companies");
        QTest::addColumn<QStringList>("countries");
        QTest::newRow("labelled lines")
            << QStringLiteral("公司:墨雀科技有限公司\n姓名:张小明\n电话:0755-86001234\n手机:13800138000\n国家:中国\n"
                              "省:广东省\n市:深圳市\n地址:南山区科苑路15号科兴科学园A栋\n邮编:518057")
            << QStringList{QStringLiteral("墨雀科技有限公司")} << QStringList{QStringLiteral("中国")};
        QTest::newRow("hospital beside the street")
            << QStringLiteral("收货人:王芳,13912345678,湖北省武汉市江岸区解放大道1095号 武汉市中心医院")
            << QStringList{QStringLiteral("武汉市中心医院")} << QStringList{};
        QTest::newRow("company named after a building")
            << QStringLiteral("李四,13912345678,四川省成都市锦江区滨江东路9号 望江楼酒店有限公司")
            << QStringList{QStringLiteral("望江楼酒店有限公司")} << QStringList{};
        QTest::newRow("neither") << QStringLiteral("张伟 13800138000 广东省深圳市南山区科技南十二路28号")
                                 << QStringList{} << QStringList{};
    }
    void companyAndCountry()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, companies);
        QFETCH(QStringList, countries);
        const RecognizedAddress r = AddressRecognizer().recognize(text);
        QCOMPARE(r.companies, companies);
        QCOMPARE(r.company, companies.value(0));
        QCOMPARE(r.countries, countries);
        QCOMPARE(r.country, countries.value(0));
    }

    // Nothing is invented from text that holds no address, and nothing crashes.
    void badInput_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("empty") << QString();
        QTest::newRow("only spaces") << QStringLiteral("   \u3000  \n\n   ");
        QTest::newRow("only emoji") << QStringLiteral("😀😀🎁🎉👍");
        QTest::newRow("control characters") << QStringLiteral("\u0001\u0002\u0007\u001b[0m\u0000");
        QTest::newRow("only digits") << QStringLiteral("12345678901234567890123");
        QTest::newRow("5,000 characters") << QString(5000, QChar(0x554a));
        QTest::newRow("5,000 characters of a line") << QStringLiteral("收货人：").repeated(1250);
        QTest::newRow("only Latin letters") << QStringLiteral("hello world");
        QTest::newRow("lone surrogates") << QString(QChar(0xd800)) + QChar(0xdfff) + QChar(0xd83d);
    }
    void badInput()
    {
        QFETCH(QString, text);
        const RecognizedAddress r = AddressRecognizer().recognize(text);
        QVERIFY2(r.isEmpty(), qPrintable(r.name + r.mobile + r.phone + r.province + r.city + r.district + r.address
                                         + r.zipcode));
        QVERIFY(r.addresses.isEmpty());
        QVERIFY(r.names.isEmpty());
    }

    // A long pasted page keeps the window's limit and still finds what stands in it.
    void longTextKeepsItsStart()
    {
        const QString text = QStringLiteral("张伟，13800138000，广东省 深圳市 南山区 科技南十二路28号\n")
            + QString(5000, QLatin1Char('x'));
        const RecognizedAddress r = AddressRecognizer().recognize(text);
        QCOMPARE(r.mobile, QStringLiteral("13800138000"));
        QCOMPARE(r.district, QStringLiteral("南山区"));
        QVERIFY(AddressRecognizer().normalize(text).size() <= AddressRecognizer::maxTextLength);
    }

    // Every handset found is offered, the first chosen.
    void candidates()
    {
        const RecognizedAddress r = AddressRecognizer().recognize(
            QStringLiteral("张伟 13800138000 备用15012345678 广东省深圳市南山区科技南十二路28号"));
        QCOMPARE(r.mobiles, (QStringList{QStringLiteral("13800138000"), QStringLiteral("15012345678")}));
        QCOMPARE(r.mobile, r.mobiles.constFirst());
        QCOMPARE(r.fullAddress(), QStringLiteral("广东省深圳市南山区科技南十二路28号"));
    }

    void normalize_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        QTest::newRow("full-width forms") << QStringLiteral("电话：０７５５－２６８８８８８８，（５１８０５７）")
                                          << QStringLiteral("电话:0755-26888888,(518057)");
        QTest::newRow("shop status") << QStringLiteral("张伟旺旺在线13800138000") << QStringLiteral("张伟,13800138000");
        QTest::newRow("blank lines") << QStringLiteral("\n\n张伟\n  \n广东\n\n") << QStringLiteral("张伟\n广东");
        QTest::newRow("spaces round colons and commas") << QStringLiteral("姓名 ：  张伟 , 手机")
                                                        << QStringLiteral("姓名:张伟,手机");
        QTest::newRow("only blanks") << QStringLiteral(" \u3000 \n ") << QString();
        QTest::newRow("user substitution") << QStringLiteral("魔都浦东新区") << QStringLiteral("上海市浦东新区");
    }
    void normalize()
    {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        const AddressRecognizer recognizer({{QStringLiteral("魔都"), QStringLiteral("上海市")}});
        QCOMPARE(recognizer.normalize(text), expected);
    }

    void divisions_data()
    {
        QTest::addColumn<QString>("province");
        QTest::addColumn<QString>("city");
        QTest::addColumn<QString>("district");
        QTest::newRow("province") << "广东省" << "深圳市" << "南山区";
        QTest::newRow("municipality") << "北京" << "北京市" << "朝阳区";
        QTest::newRow("municipality's counties") << "重庆" << "重庆市" << "城口县";
        QTest::newRow("autonomous region") << "内蒙古" << "锡林郭勒盟" << "二连浩特市";
        QTest::newRow("same name as its province") << "吉林省" << "吉林市" << "船营区";
        QTest::newRow("香港") << "香港" << "九龙" << "油尖旺区";
    }
    void divisions()
    {
        QFETCH(QString, province);
        QFETCH(QString, city);
        QFETCH(QString, district);
        const auto &provinces = ChinaDivisions::instance().provinces();
        QCOMPARE(provinces.size(), 34);
        const auto p = std::find_if(provinces.begin(), provinces.end(), [&](const auto &x) { return x.name == province; });
        QVERIFY(p != provinces.end());
        const auto c = std::find_if(p->cities.begin(), p->cities.end(), [&](const auto &x) { return x.name == city; });
        QVERIFY(c != p->cities.end());
        QVERIFY(std::any_of(c->districts.begin(), c->districts.end(), [&](const auto &x) { return x.name == district; }));
    }
};

QTEST_GUILESS_MAIN(TestAddressRecognizer)
#include "test_address_recognizer.moc"
