#include "core/log/ScoreLogReader.h"

#include "core/log/LineReader.h"
#include "core/log/LogPass.h"
#include "core/log/ParallelLogRead.h"

#include <algorithm>
#include <sched.h>
#include <utility>

namespace tolvane {

ScoreLogReader::ScoreLogReader(
    const Filter& filter, LogReaderCallbacks callbacks, std::shared_ptr<TextPool> texts, LogReadOptions options)
    : filter_(filter)
    , callbacks_(std::move(callbacks))
    , texts_(texts ? std::move(texts) : std::make_shared<TextPool>())
    , options_(options)
{
}

int ScoreLogReader::availableCores()
{
    cpu_set_t set;
    CPU_ZERO(&set);
    if (::sched_getaffinity(0, sizeof set, &set) != 0)
        return 1;
    return std::max(1, CPU_COUNT(&set));
}

LogReadResult ScoreLogReader::read(const std::filesystem::path& file)
{
    LineReader lines = LineReader::openFile(file);
    return read(lines);
}

LogReadResult ScoreLogReader::readBytes(std::string_view bytes)
{
    LineReader lines = LineReader::inMemory(bytes);
    return read(lines);
}

LogReadResult ScoreLogReader::read(LineReader& lines)
{
    if (!lines.isOpen()) {
        LogReadResult result;
        result.error = LogReadError{LogReadError::Kind::Open, LogReadError::Cause::CannotOpen, 0, lines.error()};
        return result;
    }
    const int threads = options_.threads > 0 ? options_.threads : availableCores();
    const std::uint64_t partBytes = options_.partBytes > 0 ? options_.partBytes : partBytesFor(lines.size(), threads);
    const std::uint64_t smallest = options_.partBytes > 0 ? 2 * partBytes : LogReadOptions::kMinParallelBytes;
    LogReadResult result;
    if (threads > 1 && lines.size() >= smallest) {
        result = readInParallel(lines, filter_, callbacks_, *texts_, threads, partBytes, options_.skipDamaged);
    } else {
        LogPassMemory memory;
        result = readLogPass(lines, filter_, callbacks_, *texts_, memory, options_.skipDamaged);
    }
    result.texts = texts_;
    return result;
}

} // namespace tolvane
