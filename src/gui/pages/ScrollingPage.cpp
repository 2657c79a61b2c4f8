#include "gui/pages/ScrollingPage.h"

#include <QScrollArea>
#include <QVBoxLayout>

namespace tolvane {

QWidget* scrollingContent(QWidget& page)
{
    auto* area = new QScrollArea(&page);
    area->setObjectName(page.objectName() + QStringLiteral("Scroll"));
    area->setFrameShape(QFrame::NoFrame);
    area->setWidgetResizable(true);
    auto* content = new QWidget(area);
    content->setObjectName(page.objectName() + QStringLiteral("Content"));
    area->setWidget(content);
    auto* box = new QVBoxLayout(&page);
    box->setContentsMargins(0, 0, 0, 0);
    box->addWidget(area);
    return content;
}

} // namespace tolvane
