#pragma once

#include <QString>
#include <QtPlugin>

class QWidget;

namespace zav::shell {

/**
 * @brief What the browser module offers the program: its browser windows.
 *
 * The module is a Qt plugin in the program folder (see BrowserLoader); the program reaches it
 * through this interface only, so that nothing of the web engine is linked into the program.
 */
class BrowserModule
{
public:
    virtual ~BrowserModule() = default;

    /**
     * @brief A new browser window, deleted when closed and not yet shown, that opens
     * @p startingAddress when it first shows (none when empty). Its "Home" button opens
     * @p homeAddress and its "Search" button @p searchAddress.
     */
    virtual QWidget *createBrowser(
        const QString &startingAddress, const QString &homeAddress, const QString &searchAddress)
        = 0;
};

} // namespace zav::shell

#define ZavBrowserModule_iid "org.zav.Zav.BrowserModule/1.0"
Q_DECLARE_INTERFACE(zav::shell::BrowserModule, ZavBrowserModule_iid)
