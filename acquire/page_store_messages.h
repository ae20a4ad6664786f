// The messages of automatic naming and page storing, with their exact texts.
#pragma once

#include "prompter.h"

#include <QString>
#include <QStringList>

namespace page_store_messages {

// The name of an IMAGE_INFO colour type as the fallback messages show it.
QString colourTypeName(int colourType);

Prompter::Message noNameLeft(const QString& title);
// The acquisition folder cannot be made or written: the run stops before scanning.
Prompter::Message acquisitionFolderUnavailable(const QString& title, const QString& folder);
Prompter::Message digitOverflow(const QString& title);
Prompter::Message jpegFallback(const QString& title, int colourType);
Prompter::Message group4Fallback(const QString& title, int colourType);
Prompter::Message pagesKept(const QString& title, int count, const QStringList& folders);

} // namespace page_store_messages
