#pragma once

namespace twk::shell {
class Program;
}

namespace twk::logging {

// Sets DateStamp (yyyymmdd) and TimeStamp (hhmmss) from the local time, or from the
// time a text being captured was copied.
void MakeDateStamps(shell::Program& program);

} // namespace twk::logging
