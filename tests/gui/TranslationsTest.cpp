#include "gui/Translations.h"

#include "support/GuiTest.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QLocale>
#include <QPushButton>
#include <QTranslator>
#include <gtest/gtest.h>

namespace tolvane {
namespace {

TEST(Translations, QtStandardButtonsSpeakJapanese)
{
    testing::ensureApplication();
    const QLocale before;
    QTranslator* translator = installQtJapanese(*qApp);
    // The rest of the suite checks Qt's texts as they come without a translation.
    struct Restore {
        QTranslator* translator;
        QLocale locale;
        ~Restore()
        {
            if (translator)
                QCoreApplication::removeTranslator(translator);
            delete translator;
            QLocale::setDefault(locale);
        }
    } restore{translator, before};
    ASSERT_NE(translator, nullptr) << "Qt's Japanese translation is missing (package qt6-translations-l10n)";

    QDialogButtonBox buttons(QDialogButtonBox::Cancel | QDialogButtonBox::Yes);
    EXPECT_EQ(buttons.button(QDialogButtonBox::Cancel)->text(), "キャンセル");
    EXPECT_EQ(buttons.button(QDialogButtonBox::Yes)->text(), "はい(&Y)");
    EXPECT_EQ(QLocale().language(), QLocale::Japanese);
}

} // namespace
} // namespace tolvane
