#pragma once

#include "platform/db.h"

#include <QString>
#include <QWidget>

#include <functional>

namespace zav::platform {

class DataSource;

/**
 * @brief What a form binds its data source to: a database named anew at every load, the rows it
 * shows, and who is told when the database fails.
 */
struct FormBinding
{
    /** Designer name of the form's data source. */
    QString dataName = QStringLiteral("Data1");
    /** Names the database when the form loads (for most forms, the project open at that moment). */
    std::function<QString()> database;
    /** The rows the form shows when it loads. */
    TableQuery recordSource;
    /** Told the text of a database failure; a critical box with the program's title when empty. */
    std::function<void(const QString &)> reportFailure;
};

/**
 * @brief A form bound to one data source: the common ground of grid forms and record forms.
 *
 * `load()` binds the source to the database that the binding names at that moment and reads the
 * binding's rows; later reads (`showRows`) keep that database, so the form goes on working on the
 * archive it loaded even when another one is opened meanwhile. A database failure is reported
 * through the binding and never escapes a handler.
 */
class BoundForm : public QWidget
{
    Q_OBJECT

public:
    BoundForm(const QString &objectName, const QString &title, FormBinding binding, Qt::WindowFlags flags,
        QWidget *parent = nullptr);
    ~BoundForm() override;

    DataSource *dataSource() const { return m_data; }
    const FormBinding &binding() const { return m_binding; }

    /** @brief Binds the source to the database named now and reads the binding's rows; false when
     * the rows cannot be read (reported). */
    bool load();
    /** @brief The form's load event: `load()`. A form with more to do when it loads declares its
     * own, which calls `load()`. */
    void Form_Load() { load(); }
    /** @brief Reads other rows (a filter) of the database loaded; false when reported. */
    bool showRows(const TableQuery &query);
    /** @brief Reads the binding's own rows again from the database loaded; false when reported. */
    bool showRows();
    /** @brief Runs a step on the database; a failure is reported and gives false. */
    bool attempt(const std::function<void()> &step) const;
    /** @brief Tells a database failure the way the binding asks. */
    void reportFailure(const QString &text) const;

protected:
    /** @brief Esc closes a form shown as a window of its own, as it closes a dialog; a form inside
     * the main window keeps it for its controls. */
    void keyPressEvent(QKeyEvent *event) override;

private:
    FormBinding m_binding;
    DataSource *m_data = nullptr;
};

} // namespace zav::platform
