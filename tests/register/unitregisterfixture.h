#pragma once

#include "register/frm_cod_piani.h"
#include "register/unitregisterforms.h"

#include "platform/ui/datagrid.h"
#include "platform/ui/datasource.h"
#include "platform/vb.h"
#include "workspace/workspacefixture.h"

#include <QComboBox>

namespace zav::test {

/**
 * @brief A project with two buildings (1: stairs A and B, no lift; 2: stair A and a lift), the
 * unit register registered, the comma as decimal separator.
 */
class UnitRegisterFixture : public WorkspaceTest
{
protected:
    void SetUp() override
    {
        WorkspaceTest::SetUp();
        register_::registerUnitRegisterForms();
        project.header(true, false, false, 2);
        building(1, 2, false);
        building(2, 1, true);
    }
    void TearDown() override
    {
        platform::FormRegistry::unload(register_::UnitRegisterFormName);
        processDeletes();
        WorkspaceTest::TearDown();
    }

    void building(int number, const QVariant &stairs, bool lift)
    {
        platform::Database::open(project.path())
            .insert(QStringLiteral("COMPOS_PAL"),
                { { QStringLiteral("NUM_PAL"), number }, { QStringLiteral("NUM_SCALE"), stairs },
                    { QStringLiteral("ASCENSORE"), lift } });
    }

    register_::frm_cod_piani *open()
    {
        return platform::FormRegistry::form<register_::frm_cod_piani>(register_::UnitRegisterFormName);
    }

    static void choose(register_::frm_cod_piani *form, const QString &building, const QString &stair)
    {
        form->Combo1->setCurrentIndex(form->Combo1->findText(building));
        form->Combo1_Click();
        if (stair.isEmpty())
            return;
        form->Combo2->setCurrentIndex(form->Combo2->findText(stair));
        form->Combo2_Click();
    }

    /** @brief Makes the grid's row holding this unit row current. */
    static void makeCurrent(register_::frm_cod_piani *form, qint64 unit)
    {
        const int row = form->Data1->rowOf(unit);
        ASSERT_GE(row, 0);
        form->Data1->setCurrentRow(row);
    }

    /** @brief Every row of a table, each as its values joined, in stored order. */
    QStringList dump(const QString &table) const
    {
        const platform::Recordset rs = platform::Database::open(project.path()).table(table);
        QStringList rows;
        for (int row = 0; row < rs.recordCount(); ++row) {
            QStringList values;
            for (const QVariant &value : rs.row(row))
                values << (value.isNull() ? QStringLiteral("<null>") : value.toString());
            rows << values.join(u'|');
        }
        return rows;
    }

    platform::vb::DecimalSeparatorScope comma { u',' };
};

} // namespace zav::test
