#pragma once

#include "shell/browser/browsermodule.h"

#include <QObject>

namespace zav::shell {

/** @brief The browser module's entry point: makes "Brem Browser" windows (frmBrowser). */
class BrowserPlugin : public QObject, public BrowserModule
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID ZavBrowserModule_iid)
    Q_INTERFACES(zav::shell::BrowserModule)

public:
    QWidget *createBrowser(
        const QString &startingAddress, const QString &homeAddress, const QString &searchAddress) override;
};

} // namespace zav::shell
