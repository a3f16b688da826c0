#pragma once

#include <QComboBox>

namespace zav::platform {

/**
 * @brief A drop-down list of codes that finds what is typed whole before what merely starts with it.
 *
 * Typing picks an entry as Qt's own lists do (the keys typed in quick succession make one text),
 * except that an entry equal to the text, without regard to case, wins over the first entry that
 * starts with it: in the floor codes "10S" … "1S", "R", "T", "1" … typing "1" picks "1", not "10S",
 * and "1S" picks "1S". Without an equal entry the first one that starts with the text is picked; a
 * text that starts no entry leaves the choice as it was. The open list behaves the same.
 */
class ValueListBox : public QComboBox
{
    Q_OBJECT

public:
    explicit ValueListBox(QWidget *parent = nullptr);

    /** @brief The row that typing @p text picks among @p items: equal first, then starting with; -1 for none.
     */
    static int match(const QAbstractItemModel &items, int column, const QString &text);

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    QString m_typed;
    qint64 m_lastKeyTime = 0;
};

} // namespace zav::platform
