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

// Starts looking through the current clipboard log, in the background, for
// the entry names of today that SaveClipToLog will have to avoid, so that a
// start for one capture does not wait for a look through a long log.
void PrefetchClipLogNames(shell::Program& program);

} // namespace twk::logging
