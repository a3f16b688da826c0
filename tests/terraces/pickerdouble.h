#pragma once

#include <QString>
#include <QWidget>

namespace zav::test {

/**
 * @brief Stands in for the coefficient table form under its registry name: records how the room
 * grid prepared it as a picker.
 */
class PickerDouble : public QWidget
{
    Q_OBJECT

public:
    Q_INVOKABLE bool preparePicker(int column, const QString &transferCaption)
    {
        preparedColumn = column;
        caption = transferCaption;
        return accept;
    }

    int preparedColumn = -1;
    QString caption;
    bool accept = true;
};

} // namespace zav::test
