#pragma once
// An OpenDocument spreadsheet (.ods) written for a test: the caller gives the tables as
// content.xml holds them (prefixes office:, table:, text: and style: are declared), and
// python3's zipfile packs them after the stored mimetype, as an office suite does.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace velmo::test {

// Debian's python3, not one a version manager puts first on PATH.
inline bool havePython3() { return std::system("/usr/bin/python3 -c 'import zipfile' >/dev/null 2>&1") == 0; }

// A cell of content.xml: a string cell, or a float cell when `value` is given.
inline std::string odsCell(const std::string &text) { return "<table:table-cell office:value-type=\"string\"><text:p>" + text + "</text:p></table:table-cell>"; }
inline std::string odsNumber(const std::string &value)
{
    return "<table:table-cell office:value-type=\"float\" office:value=\"" + value + "\"><text:p>" + value +
           "</text:p></table:table-cell>";
}

// Writes `file` with `tables` (the <table:table> elements) in the spreadsheet body and
// `styles` among the automatic styles; false when python3 failed.
inline bool writeOds(const std::filesystem::path &file, const std::string &tables, const std::string &styles = "")
{
    const std::string content =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<office:document-content xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\" "
        "xmlns:table=\"urn:oasis:names:tc:opendocument:xmlns:table:1.0\" "
        "xmlns:text=\"urn:oasis:names:tc:opendocument:xmlns:text:1.0\" "
        "xmlns:style=\"urn:oasis:names:tc:opendocument:xmlns:style:1.0\" office:version=\"1.3\">"
        "<office:automatic-styles>" + styles + "</office:automatic-styles>"
        "<office:body><office:spreadsheet>" + tables + "</office:spreadsheet></office:body></office:document-content>";
    const std::filesystem::path xml = file.string() + ".content.xml", py = file.string() + ".make.py";
    std::ofstream(xml, std::ios::binary) << content;
    std::ofstream(py, std::ios::binary)
        << "import zipfile,sys\n"
           "z=zipfile.ZipFile(sys.argv[1],'w',zipfile.ZIP_DEFLATED)\n"
           "z.writestr(zipfile.ZipInfo('mimetype'),'application/vnd.oasis.opendocument.spreadsheet')\n"
           "z.write(sys.argv[2],'content.xml')\n"
           "z.writestr('META-INF/manifest.xml','<manifest:manifest xmlns:manifest=\"urn:oasis:names:tc:opendocument:xmlns:manifest:1.0\"/>')\n"
           "z.close()\n";
    const int rc = std::system(("/usr/bin/python3 '" + py.string() + "' '" + file.string() + "' '" + xml.string() + "'").c_str());
    std::filesystem::remove(xml);
    std::filesystem::remove(py);
    return rc == 0;
}

} // namespace velmo::test
