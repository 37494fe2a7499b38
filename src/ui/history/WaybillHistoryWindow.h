#pragma once

#include "history/HistoryWindow.h"

#include <QUrl>

namespace moque::ui {

// The waybill history ("快递单查询"): lists the saved waybills matching the
// filters with their fee total, reopens, supplements, deletes and exports them.
// Created anew for each opening and shown modally.
class WaybillHistoryWindow : public HistoryWindow
{
    Q_OBJECT
public:
    explicit WaybillHistoryWindow(moque::app::AppCore &core, QWidget *parent = nullptr);

    // The window's own actions, as its menu items run them.
    void supplementNumber();
    void supplementRemark();
    void trackCurrentRow();

    // The filter as the controls hold it.
    history::WaybillFilter filter() const;

Q_SIGNALS:
    // Open the saved waybill in the waybill entry window (openSavedBill).
    void openBillRequested(const QString &templateName, int id);
    // The courier tracking page, relative to the vendor's web service; the
    // main window adds its product parameters and opens it.
    void trackingRequested(const QUrl &relativeUrl);

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
    // The dates, template list and double-click choice a fresh window starts with.
    void presetFilters() override;
    void connectFilters() override;
    void addRowCommands(QMenu &menu) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void expandParty(QLineEdit *edit);
    void supplement(const QString &column, const QString &prompt);

    QLineEdit *m_receiver = nullptr;
    QLineEdit *m_sender = nullptr;
    QPushButton *m_clearReceiver = nullptr;
    QPushButton *m_clearSender = nullptr;
    QPushButton *m_pickReceiver = nullptr;
    QPushButton *m_pickSender = nullptr;

    // The filter of the last search.
    history::WaybillFilter m_filter;
};

} // namespace moque::ui
