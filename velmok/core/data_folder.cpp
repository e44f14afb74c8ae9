#include "velmok/core/data_folder.h"
#include "velmok/core/velmok_texts.h"

#include "base/errors.h"
#include "base/fileio.h"
#include "base/support.h"
#include "pricefile/pipe_block.h"
#include "base/settings_file.h"

namespace velmo {
namespace fs = std::filesystem;

namespace {

using velmoktext::DefaultServiceNames;
static_assert(DefaultServiceNames.size() == ServiceCount);
const char *NetworkFolderFile = "ex_network_folder.dat";
const char *NetworkFolderKey = "[Folder_Name]";
const char *ServiceNamesFile = "velmo_p.conf";

std::string serviceKey(int s)
{
    return "[GROUP_NAME" + std::to_string(s + 1) + "]";
}

} // namespace

void Failures::add(const fs::path &file, const std::string &message)
{
    for (auto &[f, m] : messages_)
        if (!file.empty() && f == file) {
            m = message;
            return;
        }
    messages_.emplace_back(file, message);
}

void Failures::raise() const
{
    if (messages_.empty())
        return;
    std::string all;
    for (const auto &[file, m] : messages_)
        all += (all.empty() ? "" : "\n") + m;
    throw IoError(all);
}

TreeNames::TreeNames()
{
    nodes.fill("----");
    for (auto &menu : pipeCaptions)
        menu.fill("----");
    for (int s = 0; s < ServiceCount; ++s) {
        services[s] = DefaultServiceNames[s];
        nodes[s * NodesPerService] = services[s];
    }
}

std::string pipeNodeText(const std::string &name)
{
    const std::string t = trimmedText(name);
    return t.empty() ? "----" : t;
}

namespace datafolder {

fs::path networkFolder(const fs::path &settingsFolder, const fs::path &standAlone)
{
    std::string folder;
    if (auto f = SettingsFile::read(settingsFolder / NetworkFolderFile))
        if (auto v = f->value(NetworkFolderKey))
            folder = *v;
    std::error_code ec;
    if (folder.empty() || !fs::is_directory(folder, ec))
        return standAlone;
    return folder;
}

void rememberNetworkFolder(const fs::path &settingsFolder, const fs::path &folder)
{
    SettingsFile f;
    f.set(NetworkFolderKey, folder.string());
    f.write(settingsFolder / NetworkFolderFile);
}

TreeNames readNames(const fs::path &folder, const TreeNames &current, Failures &failures)
{
    TreeNames n = current;
    const auto conf = SettingsFile::read(folder / ServiceNamesFile);
    for (int s = 0; s < ServiceCount; ++s) {
        n.services[s] = DefaultServiceNames[s];
        if (conf)
            if (auto v = conf->value(serviceKey(s)))
                n.services[s] = *v;
        n.nodes[s * NodesPerService] = n.services[s];
    }
    for (int s = 0; s < ServiceCount; ++s) {
        const fs::path path = folder / serviceFileName(s);
        std::vector<std::string> names;
        try {
            const auto contents = readServiceFileIfPresent(path);
            if (!contents)
                continue; // a missing file leaves the service's nodes as they were
            names = pipeNamesOf(contents->bytes);
        } catch (const IoError &e) {
            // The names of a file that cannot be read are not known: its pipes show as unnamed.
            failures.add(path, e.what());
            names.assign(PipesPerFile, "");
        }
        for (int p = 0; p < PipesPerFile; ++p)
            n.nodes[s * NodesPerService + p + 1] = n.pipeCaptions[s][p] = pipeNodeText(names[p]);
    }
    return n;
}

void writeServiceNames(const fs::path &folder, const TreeNames &names)
{
    SettingsFile f;
    for (int s = 0; s < ServiceCount; ++s)
        f.set(serviceKey(s), names.services[s]);
    f.write(folder / ServiceNamesFile);
}

std::vector<std::string> copyServiceFiles(const fs::path &from, const fs::path &to, int except)
{
    std::vector<std::string> failed;
    for (int s = 0; s < ServiceCount; ++s) {
        if (s == except)
            continue;
        const fs::path source = from / serviceFileName(s);
        try {
            const auto contents = readServiceFileIfPresent(source);
            if (!contents)
                continue; // a file missing in the old folder is skipped
            writeSharedFile(to / serviceFileName(s), contents->bytes, Overwrite::Allowed);
        } catch (const IoError &e) {
            failed.push_back(e.what());
        }
    }
    return failed;
}

bool sameFolder(const fs::path &a, const fs::path &b)
{
    std::error_code ec;
    if (fs::equivalent(a, b, ec))
        return true;
    return fs::weakly_canonical(a, ec) == fs::weakly_canonical(b, ec);
}

} // namespace datafolder
} // namespace velmo
