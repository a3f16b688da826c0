#pragma once

#include <QString>
#include <QWidget>

class QComboBox;
class QLabel;
class QTimer;
class QToolBar;
class QUrl;
class QWebEngineView;

namespace zav::shell {

/**
 * @brief "Brem Browser": a small web browser window with an address box that keeps the addresses
 * visited, latest first and each once, and a navigation toolbar.
 *
 * Set `StartingAddress` after creating it and before showing it: the window opens that address
 * when it first shows. Each window keeps its own history, gone when it closes. The window lives in
 * the browser module, with the web engine; the program makes it through BrowserModule.
 */
class frmBrowser : public QWidget
{
    Q_OBJECT

public:
    explicit frmBrowser(QWidget *parent = nullptr);
    ~frmBrowser() override;

    /** @brief A new window, deleted when closed, that will open @p address. Not yet shown. */
    static frmBrowser *create(const QString &address, QWidget *parent = nullptr);

    /** @brief The address to open when the window loads; read once, at load. */
    QString StartingAddress;
    /** @brief The addresses the "Home" and "Search" buttons open. */
    QString HomeAddress;
    QString SearchAddress;

    void Form_Load();
    void Form_Resize();
    void timTimer_Timer();
    void cboAddress_Click();
    void cboAddress_KeyPress(int KeyAscii);
    void tbToolBar_ButtonClick(const QString &key);
    void brwWebBrowser_DownloadComplete();
    void brwWebBrowser_NavigateComplete2(const QUrl &URL);

    /** @brief Whether the browser is loading a page. */
    bool busy() const;

    QWidget *picAddress;
    QLabel *lblAddress;
    QComboBox *cboAddress;
    QToolBar *tbToolBar;
    QWebEngineView *brwWebBrowser;
    QTimer *timTimer;

protected:
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void navigate(const QString &address);
    QString pageName() const;

    bool m_loaded = false;
    bool m_historyGuard = false; ///< true only while the history is rewritten
};

} // namespace zav::shell
