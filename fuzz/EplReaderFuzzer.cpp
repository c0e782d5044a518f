// The EPL2 command reader of the label preview, with the field parsers the
// renderer applies to each command.  Checked on every input:
//   * every command, its arguments and its GW data lie inside the stream,
//     in stream order, and the line numbers never go back;
//   * the fields of a split put back together with their commas give the
//     arguments again;
//   * numbers stay within the reader's clamp, data items are bytes or the
//     four function codes.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "CommandReader.h"

using namespace zal::preview;

namespace {

// A broken rule names itself before the abort that libFuzzer reports.
void Fail(const char *rule, int line) {
    std::fprintf(stderr, "%s:%d: %s\n", __FILE__, line, rule);
    std::abort();
}
#define CHECK(rule) ((rule) ? (void)0 : Fail(#rule, __LINE__))

bool Inside(std::string_view part, std::string_view stream) {
    return part.empty() || (part.data() >= stream.data() && part.data() + part.size() <= stream.data() + stream.size());
}

void CheckSplit(std::string_view args, std::size_t count) {
    std::string_view rest;
    std::vector<std::string_view> fields = SplitFields(args, count, &rest);
    CHECK(fields.size() <= count);
    CHECK(!fields.empty() || count == 0);
    std::string joined;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0) joined += ',';
        joined.append(fields[i]);
    }
    if (!rest.empty() || (fields.size() == count && joined.size() < args.size())) joined.append(",").append(rest);
    CHECK(joined == args);
    for (std::string_view field : fields) {
        int64_t value = 0;
        if (ParseNumber(field, value)) CHECK(value >= -1000000000 && value <= 1000000000);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    std::string_view stream(reinterpret_cast<const char *>(data), size);
    CommandReader reader(stream);
    Command command;
    const char *last = stream.data();
    int line = 0;
    std::size_t commands = 0;
    while (reader.Next(command)) {
        CHECK(++commands <= size);  // each command takes at least one byte
        CHECK(Inside(command.name, stream) && Inside(command.args, stream) && Inside(command.binary, stream));
        CHECK(command.name.empty() || command.name.data() >= last);
        if (!command.name.empty()) last = command.name.data();
        CHECK(command.line >= line && command.line > 0);
        line = command.line;
        CheckSplit(command.args, 7);
        CheckSplit(command.args, 1);
        std::vector<std::string> notes;
        DataItems items = ParseDataField(command.args, notes);
        for (int item : items) CHECK((item >= 0 && item < 0x100) || (item >= kFnc1 && item <= kFnc4));
        CHECK(ItemBytes(items).size() <= items.size());
    }
    return 0;
}
