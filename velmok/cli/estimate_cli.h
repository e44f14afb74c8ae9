#pragma once
// velmok-cli estimate: a quantity list priced at the composite unit prices of a data folder,
// as JSON, CSV, a workbook or a PDF.
namespace velmo::cli {

// "estimate QUANTITIES --data FOLDER …" from argv[2] on. Exit status 0 when every row was
// priced, 1 when some were not (the rest is priced and written all the same); a usage or file
// error raises UsageError or IoError.
int runEstimateCommand(int argc, char **argv);

} // namespace velmo::cli
