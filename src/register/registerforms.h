#pragma once

namespace zav::register_ {

/** @brief Registers the register's forms with the form registry ("frm_comp_pal"). */
void registerForms();

/**
 * @brief Shows the buildings form modal and returns when it has closed. The caller has checked
 * that a project is open and has its header record.
 */
void comp_pal();

} // namespace zav::register_
