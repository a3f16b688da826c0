#include "platform/ui/formregistry.h"

#include <QCoreApplication>
#include <QDialog>
#include <QPointer>
#include <QTimer>

#include <gtest/gtest.h>

namespace zav::platform {
namespace {

TEST(FormRegistryTest, AFormIsCreatedOnFirstUseAndAFreshOneAfterItCloses)
{
    int created = 0;
    FormRegistry::setFactory(QStringLiteral("prova"), [&created] {
        ++created;
        return new QDialog;
    });
    EXPECT_EQ(FormRegistry::loaded(QStringLiteral("prova")), nullptr);
    QWidget *first = FormRegistry::form(QStringLiteral("prova"));
    EXPECT_EQ(FormRegistry::form(QStringLiteral("prova")), first);
    EXPECT_EQ(created, 1);
    EXPECT_EQ(first->objectName(), QStringLiteral("prova"));

    // The real modal loop returns once the form closes; the closed form counts as unloaded at once.
    QPointer<QWidget> guard(first);
    QTimer::singleShot(0, first, [first] { first->close(); });
    FormRegistry::showModal(QStringLiteral("prova"));
    EXPECT_FALSE(FormRegistry::isLoaded(QStringLiteral("prova")));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(guard.isNull());

    QWidget *second = FormRegistry::form(QStringLiteral("prova"));
    EXPECT_NE(second, nullptr);
    EXPECT_EQ(created, 2);
    FormRegistry::unload(QStringLiteral("prova"));
    FormRegistry::unload(QStringLiteral("prova")); // not loaded: nothing
    EXPECT_FALSE(FormRegistry::isLoaded(QStringLiteral("prova")));
    EXPECT_EQ(FormRegistry::form(QStringLiteral("sconosciuta")), nullptr);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace
} // namespace zav::platform
