#pragma once

#include "engine/var_gbl.h"
#include "platform/db.h"
#include "support/benchproject.h"
#include "support/scripteddialogs.h"

#include <QChar>
#include <QDir>
#include <QString>
#include <QTemporaryDir>

#include <map>
#include <memory>

namespace zav::bench {

/**
 * @brief A project on disk of units in five buildings of four stairs, with its thousandths
 * calculated as the global calculation writes them. Made once per size for a benchmark program
 * (GeneratedProject::of()); a benchmark that changes it works on a copy.
 */
class GeneratedProject
{
public:
    static constexpr int Buildings = 5;
    static constexpr int Stairs = 4;

    explicit GeneratedProject(int units)
        : m_dir(QDir::current().filePath(QStringLiteral("bench_project_XXXXXX")))
    {
        m_path = m_dir.filePath(QStringLiteral("BENCH.CDB"));
        copyTemplateArchive(m_path);
        {
            platform::Database db = platform::Database::open(m_path);
            auto transaction = db.transaction();
            db.insert(QStringLiteral("ANA_CONDO"),
                { { QStringLiteral("NOME"), QStringLiteral("Prova") },
                    { QStringLiteral("NUM_PAL"), Buildings }, { QStringLiteral("RISC_VOL"), true } });
            for (int b = 1; b <= Buildings; ++b)
                db.insert(QStringLiteral("COMPOS_PAL"),
                    { { QStringLiteral("NUM_PAL"), b }, { QStringLiteral("NUM_SCALE"), Stairs },
                        { QStringLiteral("RISCALDAMENTO"), true }, { QStringLiteral("ASCENSORE"), true } });
            auto unit = db.prepare(QStringLiteral(
                "INSERT INTO CODIF_PIANI (NUM_PAL, SCALA, SIGLA, PROPRIETARIO, HPIANO, HTERRA, HASCENSORE, "
                "TOT_SUP, TOT_VOL, TOT_VOL_RISC, INTERNO, RIGA) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, "
                "?)"));
            for (int i = 0; i < units; ++i) {
                const int floor = 1 + i % 10;
                unit.exec({ 1 + i % Buildings, QString(QChar(u'A' + (i / Buildings) % Stairs)),
                    QString::number(floor), QStringLiteral("Condomino %1").arg(i), 3.0, 3.0 * floor,
                    3.0 * floor, 80.0 + i % 17, 240.0 + i % 23, 200.0 + i % 19, 1 + i / (Buildings * Stairs),
                    floor });
            }
            transaction.commit();
        }
        platform::ScriptedDialogs dialogs;
        engine::VAR_GBL.reset();
        engine::VAR_GBL.progetto_corrente = m_path;
        engine::VAR_GBL.calcolo_millesimi();
    }

    /** @brief The project of @p units units, made on first use. */
    static GeneratedProject &of(int units)
    {
        static std::map<int, std::unique_ptr<GeneratedProject>> generated;
        std::unique_ptr<GeneratedProject> &made = generated[units];
        if (!made)
            made = std::make_unique<GeneratedProject>(units);
        return *made;
    }

    const QString &path() const { return m_path; }

private:
    QTemporaryDir m_dir;
    QString m_path;
};

} // namespace zav::bench
