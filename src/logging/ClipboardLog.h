#pragma once

namespace twk::shell {
class Program;
}

namespace twk::logging {

// Runs whenever the viewer's hidden box takes a new text: updates the
// viewer, pops it up if so set, and saves the text to the clipboard log.
void txtTMP_Change(shell::Program& program);

// Writes the hidden box's text under fresh stamps into the current clipboard
// log; a failed write says so.
void SaveClipToLog(shell::Program& program);

} // namespace twk::logging
