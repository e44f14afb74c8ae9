#include "velmok/exports/csv_export.h"

#include "velmok/exports/text_builder.h"

namespace velmo {

std::string CsvFileExport::bytes(const ExportInput &in) const
{
    return outputFileBytes(buildOutputText(in.table, in.tabs, OutputMode::File, in.choice));
}

std::string CsvClipboardExport::bytes(const ExportInput &in) const
{
    return buildOutputText(in.table, in.tabs, OutputMode::Clipboard, in.choice);
}

} // namespace velmo
