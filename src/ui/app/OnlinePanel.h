#pragma once

#include <QDockWidget>

class QTextBrowser;

namespace moque::ui {

// The side panel of the main window with news and help of the program. It
// works without a network: its pages are the program's own.
class OnlinePanel : public QDockWidget
{
    Q_OBJECT
public:
    enum class Page { Welcome, Help, Upgrade };

    explicit OnlinePanel(QWidget *parent = nullptr);

    void showPage(Page page);
    Page currentPage() const { return m_page; }

Q_SIGNALS:
    // The user does not want the panel again today.
    void hideForTodayRequested();

private:
    QTextBrowser *m_browser = nullptr;
    Page m_page = Page::Welcome;
};

} // namespace moque::ui
