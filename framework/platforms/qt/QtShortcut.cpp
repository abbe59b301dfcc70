#include "QtShortcut.h"

#include "QtText.h"

#include <QStringList>

QKeySequence QtShortcut(std::string_view text)
{
    QString source = QtFromUtf8(text).trimmed();
    if (source.isEmpty())
        return {};
    // The last part is the key itself, which may be "+" ("Cmd++").
    QStringList parts = source.split(u'+');
    QString key = parts.takeLast();
    if (key.isEmpty() && !parts.isEmpty() && parts.last().isEmpty()) {
        parts.removeLast();
        key = QStringLiteral("+");
    }
    QStringList modifiers;
    for (const QString& part : parts) {
        QString word = part.trimmed();
        QString canonical;
        if (word.compare(u"Cmd", Qt::CaseInsensitive) == 0
            || word.compare(u"Command", Qt::CaseInsensitive) == 0
            || word.compare(u"Ctrl", Qt::CaseInsensitive) == 0
            || word.compare(u"Control", Qt::CaseInsensitive) == 0)
            canonical = QStringLiteral("Ctrl");
        else if (word.compare(u"Option", Qt::CaseInsensitive) == 0
            || word.compare(u"Opt", Qt::CaseInsensitive) == 0
            || word.compare(u"Alt", Qt::CaseInsensitive) == 0)
            canonical = QStringLiteral("Alt");
        else if (word.compare(u"Shift", Qt::CaseInsensitive) == 0)
            canonical = QStringLiteral("Shift");
        else if (word.compare(u"Meta", Qt::CaseInsensitive) == 0
            || word.compare(u"Super", Qt::CaseInsensitive) == 0)
            canonical = QStringLiteral("Meta");
        else
            return {};
        if (!modifiers.contains(canonical))
            modifiers.append(canonical);
    }
    modifiers.append(key.trimmed());
    QKeySequence sequence = QKeySequence::fromString(modifiers.join(u'+'), QKeySequence::PortableText);
    // One chord only: anything Qt could not read as a key gives Key_unknown.
    if (sequence.count() != 1 || sequence[0].key() == Qt::Key_unknown)
        return {};
    return sequence;
}
