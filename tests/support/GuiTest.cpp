#include "support/GuiTest.h"

#include <QAbstractButton>
#include <QApplication>
#include <QPushButton>
#include <gtest/gtest.h>
#include <memory>

namespace tolvane::testing {

namespace {

int argc = 1;
char name[] = "tolvane-tests";
char* argv[] = {name, nullptr};
std::unique_ptr<QApplication> application;

// The application goes before main() returns: after it, Qt's own statics are gone.
class ApplicationEnvironment final : public ::testing::Environment {
public:
    void SetUp() override { ensureApplication(); }
    void TearDown() override
    {
        // Objects that asked to be deleted later go now: a queue dropped with
        // the application would leave them behind.
        for (int i = 0; i < 3; ++i) {
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            QCoreApplication::processEvents();
        }
        application.reset();
    }
};

[[maybe_unused]] const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new ApplicationEnvironment);

} // namespace

void ensureApplication()
{
    if (QApplication::instance())
        return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    application = std::make_unique<QApplication>(argc, argv);
}

MessageBoxAnswerer::MessageBoxAnswerer(std::vector<QMessageBox::StandardButton> answers)
    : answers_(std::move(answers))
{
    QObject::connect(&timer_, &QTimer::timeout, [this] { poll(); });
    timer_.start(5);
}

void MessageBoxAnswerer::poll()
{
    // Modal boxes, and the closing message of a run, which is not modal.
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box) {
        for (QWidget* shown : QApplication::topLevelWidgets()) {
            if (auto* candidate = qobject_cast<QMessageBox*>(shown); candidate && candidate->isVisible())
                box = candidate;
        }
    }
    if (!box || !box->isVisible())
        return;
    seen_.push_back({box->windowTitle(), box->text(), box->icon(), box->standardButtons()});
    const std::size_t n = seen_.size() - 1;
    QAbstractButton* button
        = n < answers_.size() ? box->button(answers_[n]) : static_cast<QAbstractButton*>(box->defaultButton());
    // An answer the box does not offer takes its default.
    if (!button)
        button = box->defaultButton();
    if (!button)
        button = box->buttons().value(0);
    if (button)
        button->click();
}

} // namespace tolvane::testing
