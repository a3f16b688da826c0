#pragma once

#include <QString>

namespace zav::expenses {

/**
 * @brief The five named copies of the thousandths for a form that holds unit rows: each entry
 * point runs the form's own `copy(operation)` with its name, which says where the rows are.
 *
 * A form derives from `ThousandthsCopies<Form>` and befriends it.
 */
template<class Form> class ThousandthsCopies
{
public:
    /** @brief The general thousandths. */
    void copia_mil_glob() { form().copy(QStringLiteral("copia_mil_glob")); }
    /** @brief The building thousandths. */
    void copia_mil_pal() { form().copy(QStringLiteral("copia_mil_pal")); }
    /** @brief The stair and lift thousandths. */
    void copia_mil_scala() { form().copy(QStringLiteral("copia_mil_scala")); }
    /** @brief The heating thousandths. */
    void copia_mil_risc() { form().copy(QStringLiteral("copia_mil_risc")); }
    /** @brief The porter's lodge thousandths. */
    void copia_mil_port() { form().copy(QStringLiteral("copia_mil_port")); }

private:
    Form &form() { return static_cast<Form &>(*this); }
};

} // namespace zav::expenses
