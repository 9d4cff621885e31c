#pragma once

namespace twk::shell {
class Program;
}

namespace twk::logging {

// Sets DateStamp (yyyymmdd) and TimeStamp (hhmmss) from the local time.
void MakeDateStamps(shell::Program& program);

} // namespace twk::logging
