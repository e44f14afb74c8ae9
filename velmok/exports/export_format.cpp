#include "velmok/exports/export_format.h"

#include "velmok/exports/csv_export.h"
#include "base/fileio.h"
#include "velmok/exports/xlsx_export.h"

#include <tuple>

namespace velmo {

namespace {

template <typename... Format>
std::vector<const ExportFormat *> registry()
{
    static const std::tuple<Format...> formats;
    return std::apply([](const Format &...f) { return std::vector<const ExportFormat *>{&f...}; }, formats);
}

} // namespace

void ExportFormat::write(const ExportInput &in) const
{
    writeFileAtomically(in.target, bytes(in));
}

const std::vector<const ExportFormat *> &exportFormats()
{
    // One line a format, in the order of the menu.
    static const std::vector<const ExportFormat *> all = registry<
        CsvFileExport,
        CsvClipboardExport,
        XlsxExport>();
    return all;
}

const ExportFormat *findExportFormat(std::string_view name)
{
    for (const ExportFormat *f : exportFormats())
        if (name == f->name())
            return f;
    return nullptr;
}

} // namespace velmo
