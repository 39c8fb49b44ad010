// Reads one dialog template of the resource scripts (ui/resources/*.rc) so that tests can check
// the controls that the window code and the portable tables rely on.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace testsupport {

struct TemplateControl {
    std::string kind; // CTEXT, PUSHBUTTON, GROUPBOX, CONTROL, AUTOCHECKBOX ...
    std::string text; // as written in the script (UTF-8)
    int id = 0;
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    std::string style; // the style expression, as written
};

struct DialogTemplate {
    int id = 0;
    int width = 0;
    int height = 0;
    std::string caption;
    std::vector<TemplateControl> controls;

    // The control with the ID, or null.
    const TemplateControl* Find(int controlId) const;
};

// The #define values of an ID header.
std::map<std::string, int> ReadIdHeader(const std::string& path);

// The dialog of the script whose template ID is dialogId; symbols resolve through ids. Throws
// std::runtime_error when the script has no such dialog.
DialogTemplate ReadDialogTemplate(const std::string& scriptPath,
                                  const std::map<std::string, int>& ids, int dialogId);

} // namespace testsupport
