#include "batch_command.h"

#include "errors.h"

#include <cstdio>
#include <cstring>

namespace velmo::cli {

void requireExisting(const std::filesystem::path &file)
{
    std::error_code ec;
    if (!std::filesystem::exists(file, ec))
        throw IoError("ファイル " + file.string() + " がありません");
}

std::vector<int> selectedOrAll(std::optional<int> one, int count)
{
    if (one)
        return {*one};
    std::vector<int> all;
    for (int i = 0; i < count; ++i)
        all.push_back(i);
    return all;
}

void printJson(const JsonWriter &j)
{
    std::fwrite(j.text().data(), 1, j.text().size(), stdout);
    std::fputc('\n', stdout);
}

int runBatch(int argc, char **argv, const char *program, const char *usage, const char *usageHint,
             const std::function<int()> &run)
{
    if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        std::fputs(usage, stdout);
        return 0;
    }
    try {
        return run();
    } catch (const UsageError &e) {
        std::fprintf(stderr, "%s: %s %s\n", program, e.what(), usageHint);
    } catch (const std::exception &e) {
        std::fprintf(stderr, "%s: %s\n", program, e.what());
    }
    return 2;
}

} // namespace velmo::cli
