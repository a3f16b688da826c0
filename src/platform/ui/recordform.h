#pragma once

#include "platform/ui/boundform.h"

class QCloseEvent;

namespace zav::platform {

/**
 * @brief A dialog bound to one record: its boxes are bound to fields of its data source (the
 * record in hand), what is typed into them is pending until stored.
 *
 * Closing the form by any way (its frame, the program, a handler) stores what is pending, as a
 * bound form does when it unloads; `discardAndClose()`, the form's "Esci", drops it first. A
 * failure to store is reported and the form closes all the same.
 */
class RecordForm : public BoundForm
{
    Q_OBJECT

public:
    RecordForm(
        const QString &objectName, const QString &title, FormBinding binding, QWidget *parent = nullptr);
    ~RecordForm() override;

    /** @brief Drops what is pending in the bound boxes, then closes. */
    void discardAndClose();

protected:
    void closeEvent(QCloseEvent *event) override;
};

} // namespace zav::platform
