#include "shell/browser/browserplugin.h"

#include "shell/browser/frmbrowser.h"

namespace zav::shell {

QWidget *BrowserPlugin::createBrowser(
    const QString &startingAddress, const QString &homeAddress, const QString &searchAddress)
{
    frmBrowser *window = frmBrowser::create(startingAddress);
    window->HomeAddress = homeAddress;
    window->SearchAddress = searchAddress;
    return window;
}

} // namespace zav::shell
