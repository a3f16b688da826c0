#include "shell/forms/about.h"

#include <QFont>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

namespace zav::shell {

namespace {

// The support contacts shown beside "Assistenza Z.A.V.:".
const QString supportContacts = QStringLiteral("Tel. 0000 000000\nassistenza@zav.invalid");

} // namespace

ABOUT::ABOUT(QWidget *parent)
    : QDialog(parent)
    , picture(new QLabel(QStringLiteral("Zav"), this))
    , Label3(new QLabel(QStringLiteral("Assistenza Z.A.V.:"), this))
    , Label6(new QLabel(supportContacts, this))
    , lblversion(new QLabel(this))
    , Command2(new QPushButton(QStringLiteral("Esci"), this))
{
    setObjectName(QStringLiteral("ABOUT"));
    setWindowTitle(QStringLiteral("Informazioni"));
    picture->setObjectName(QStringLiteral("picture"));
    Label3->setObjectName(QStringLiteral("Label3"));
    Label6->setObjectName(QStringLiteral("Label6"));
    lblversion->setObjectName(QStringLiteral("lblversion"));
    Command2->setObjectName(QStringLiteral("Command2"));

    QFont big = picture->font();
    big.setPointSize(big.pointSize() * 3);
    big.setBold(true);
    picture->setFont(big);
    picture->setAlignment(Qt::AlignCenter);
    picture->setMinimumSize(160, 80);

    auto *layout = new QGridLayout(this);
    layout->addWidget(picture, 0, 0, 3, 1);
    layout->addWidget(lblversion, 0, 1, 1, 2);
    layout->addWidget(Label3, 1, 1, Qt::AlignTop);
    layout->addWidget(Label6, 1, 2, Qt::AlignTop);
    layout->addWidget(Command2, 2, 2, Qt::AlignRight);

    connect(Command2, &QPushButton::clicked, this, &ABOUT::Command2_Click);
    Form_Load();
}

QString ABOUT::versionText(int major, int minor, int revision)
{
    return QStringLiteral("Versione %1.%2.%3").arg(major).arg(minor).arg(revision);
}

void ABOUT::Form_Load()
{
    lblversion->setText(versionText(ZAV_VERSION_MAJOR, ZAV_VERSION_MINOR, ZAV_VERSION_PATCH));
    adjustSize();
    // Centred on the whole screen, as half the differences of the sizes.
    if (const QScreen *screen = this->screen()) {
        const QRect area = screen->geometry();
        move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
    }
}

void ABOUT::Command2_Click()
{
    close();
}

} // namespace zav::shell
