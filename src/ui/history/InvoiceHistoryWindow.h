#pragma once

#include "history/HistoryWindow.h"
#include "history/InvoiceQuery.h"

class QSpinBox;

namespace moque::ui {

// The history of an invoice kind: "收据及发票查询" (普通发票收据),
// "国际货运发票查询" (国际货运发票) or "出口商品发票查询" (出口商品发票). Lists
// the saved invoices matching the filters with their amount total, reopens,
// deletes, exports and voids them; the export invoice window also registers
// ranges of received invoice numbers. Created anew for each opening and
// shown modally.
class InvoiceHistoryWindow : public HistoryWindow
{
    Q_OBJECT
public:
    InvoiceHistoryWindow(moque::app::AppCore &core, history::InvoiceKind kind, QWidget *parent = nullptr);

    const history::InvoiceQuery &query() const { return m_query; }

    // "作废选中(&F)".
    void voidSelected();
    // "领用联号票据": fills the template list and shows the panel over the grid.
    void showRegistration();
    // "开始登记".
    void registerRange();

    // The filter as the controls hold it.
    history::InvoiceFilter filter() const;

Q_SIGNALS:
    // Open the saved invoice with this 流水号 in the entry window of the kind
    // ("普通发票收据", "国际货运发票", "出口商品发票").
    void openBill(const QString &kindName, qint64 id);

protected:
    history::BoundStatement takeFilter() override;
    history::BoundStatement totalsStatement() const override;
    QString totalLabel(const history::Totals &totals) const override;
    void markFiltersInUse() override;
    void clearOwnFilters() override;
    void showDatabaseError(const QString &statement, const QString &error) override;
    QString partyText(const refdata::TPerson &person) const override;
    void requestOpen(int row) override;
    QGroupBox *buildFilterBar() override;
    QVBoxLayout *buildPeriodPanel() override;
    bool hasTotal() const override { return m_query.hasTotal(); }
    // The "领用联号票据" panel, hidden over the grid.
    void buildExtras() override;
    void connectCommands() override;
    void connectFilters() override;
    void listed(int rows) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void expandParty();

    const history::InvoiceQuery m_query;

    QLineEdit *m_party = nullptr;
    QPushButton *m_clearParty = nullptr;
    QPushButton *m_pickParty = nullptr;
    QComboBox *m_state = nullptr;
    QLineEdit *m_contract = nullptr;
    QLineEdit *m_amountFrom = nullptr;
    QLineEdit *m_amountTo = nullptr;
    QPushButton *m_void = nullptr;
    QPushButton *m_recordNumbers = nullptr;

    // "领用联号票据".
    QGroupBox *m_panel = nullptr;
    QComboBox *m_panelTemplate = nullptr;
    QLineEdit *m_code = nullptr;
    QLineEdit *m_firstNumber = nullptr;
    QLineEdit *m_lastNumber = nullptr;
    QSpinBox *m_digits = nullptr;
    QPushButton *m_startImport = nullptr;
    QPushButton *m_endImport = nullptr;
    QLabel *m_status = nullptr;

    // The filter of the last search.
    history::InvoiceFilter m_filter;
};

} // namespace moque::ui
