#pragma once

#include <QDialog>
#include <QStringList>

#include <optional>

class QLineEdit;
class QPushButton;

namespace zav::shell {

/**
 * @brief "Dati Utente": the user's own firm data, the single record of table "DATI" of the user
 * database "UTENTE.MDB" in the program folder.
 *
 * The boxes are bound to the record: what the user types is stored when the window closes, by
 * "ESCI", the window frame or Esc. An empty table gives a new record ready for typing, stored
 * only if something was typed. "ELIMINA DATI" deletes the record after a question. Without a
 * readable "UTENTE.MDB" the boxes cannot be typed into, and closing says that nothing was stored.
 */
class frm_dati_utente : public QDialog
{
    Q_OBJECT

public:
    explicit frm_dati_utente(QWidget *parent = nullptr);

    void Form_Load();
    void elimina_Click();
    void Command1_Click();

    /** @brief Stores the boxes into the record when they differ from it; true when nothing failed. */
    bool storeRecord();
    void done(int result) override;

    QLineEdit *Text1; ///< "Rag. Sociale:" (RAG_SOC)
    QLineEdit *Text2; ///< "Indirizzo:" (INDIRIZZO)
    QLineEdit *Text3; ///< "Cap:" (CAP)
    QLineEdit *Text4; ///< "Città:" (CITTA)
    QLineEdit *Text5; ///< "E-mail:" (MAIL)
    QLineEdit *Text6; ///< "Tel.:" (TELEFONO)
    QPushButton *elimina;
    QPushButton *Command1;

private:
    QList<QLineEdit *> boxes() const;
    QStringList texts() const;
    void showRecord(const QStringList &values);
    void reportFailure(const QString &what);

    bool m_usable = false; ///< the database could be read
    QString m_unusableReason; ///< why not, said to the user
    std::optional<qint64> m_rowid; ///< the record shown; none = a new record
    QStringList m_stored; ///< what the record holds, as the boxes show it
};

} // namespace zav::shell
