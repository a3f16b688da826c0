#pragma once

#include <QWidget>

class QLabel;
class QProgressBar;

namespace zav::engine::ui {

/**
 * @brief The progress window of long engine operations: a fixed first line, a task line, the line
 * "Elaborata U.I. n°:" with the count done and the total (hidden until a run shows it), and a bar.
 *
 * It has no code of its own: whoever runs the operation writes its labels and bar.
 */
class ATTESA : public QWidget
{
    Q_OBJECT

public:
    explicit ATTESA(QWidget *parent = nullptr);

    QLabel *Label1;
    QLabel *Label2;
    QLabel *Label3;
    QLabel *Label4;
    QLabel *Label5;
    QProgressBar *ProgressBar1;
};

} // namespace zav::engine::ui
