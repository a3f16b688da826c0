#include "expenses/expenseformparts.h"

#include "engine/messagetitles.h"
#include "platform/db.h"
#include "platform/dialogs.h"
#include "platform/ui/datagrid.h"
#include "platform/ui/datasource.h"
#include "platform/ui/formbutton.h"

namespace zav::expenses::formparts {

using platform::dialogs;
using platform::MsgButtons;
using platform::MsgIcon;

void information(const QString &text)
{
    dialogs().msgBox(text, MsgButtons::Ok, MsgIcon::Information, engine::MessageTitle::ZavWarning);
}

void failure(const QString &text)
{
    dialogs().msgBox(text, MsgButtons::Ok, MsgIcon::Critical, engine::MessageTitle::ZavWarning);
}

bool attempt(const QString &lead, const std::function<void()> &work)
{
    try {
        work();
        return true;
    } catch (const platform::DbError &error) {
        failure(lead + platform::failureText(error));
        return false;
    }
}

platform::DataSource *dataSource(const char *name, QObject *parent)
{
    return platform::formControl<platform::DataSource>(name, parent);
}

platform::DataGrid *dataGrid(const char *name, const QString &caption, QWidget *parent)
{
    auto *grid = platform::formControl<platform::DataGrid>(name, parent);
    grid->setCaption(caption);
    return grid;
}

platform::DataGridColumn column(const char *field, const char *caption, int width, const QString &format)
{
    platform::DataGridColumn c { QString::fromLatin1(field), QString::fromUtf8(caption), width };
    c.format = format;
    return c;
}

} // namespace zav::expenses::formparts
