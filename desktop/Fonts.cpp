#include "desktop/Fonts.h"
#include "base/shared_texts.h"

#include <QFont>
#include <QString>
#include <QStringList>

namespace velmo {

void installJapaneseFontSubstitutes()
{
    const QString mono = QStringLiteral("Noto Sans Mono CJK JP");
    const QString sans = QStringLiteral("Noto Sans CJK JP");
    const QString serif = QStringLiteral("Noto Serif CJK JP");
    struct Mapping {
        const char *family;
        QStringList substitutes;
    };
    const Mapping mappings[] = {
        {sharedtext::GothicFont, {mono, sans}},
        {"MS Gothic", {mono, sans}},
        {sharedtext::ProportionalGothicFont, {sans, mono}},
        {"MS PGothic", {sans, mono}},
        {"MS UI Gothic", {sans, mono}},
        {"ＭＳ 明朝", {serif, mono}},
        {"MS Mincho", {serif, mono}},
        {"ＭＳ Ｐ明朝", {serif, sans}},
        {"MS PMincho", {serif, sans}},
    };
    for (const Mapping &m : mappings) {
        const QString family = QString::fromUtf8(m.family);
        // Replace rather than append, so that a second call leaves the same list.
        QFont::removeSubstitutions(family);
        QFont::insertSubstitutions(family, m.substitutes);
    }
}

} // namespace velmo
