#include "console/message_box.h"
#include "console/modal.h"
#include <cstring>
#include <string>
#include <vector>

static std::vector<std::string> splitLines(const char *text, size_t maxWidth) {
    std::vector<std::string> lines;
    std::string line;
    for (const char *c = text ? text : "";; c++) {
        if (*c == '\n' || *c == 0 || line.size() >= maxWidth) {
            lines.push_back(line);
            line.clear();
            if (*c == 0)
                break;
            if (*c == '\n')
                continue;
        }
        line += *c;
    }
    return lines;
}

int messageBox(const char *text, const char *caption, unsigned flags) {
    const bool yesNo = (flags & 0xF) == MB_YESNO;
    const char icon = (flags & 0xF0) == MB_ICONINFORMATION ? 'i' : (flags & 0xF0) ? '!' : 0;
    std::vector<std::string> lines = splitLines(text, 90);

    ModalButton buttons[2];
    int buttonCount = 0;
    if (yesNo) {
        buttons[buttonCount++] = {"Yes", IDYES, 'Y'};
        buttons[buttonCount++] = {"No", IDNO, 'N'};
    } else {
        buttons[buttonCount++] = {"OK", IDOK, 'O'};
    }

    size_t inner = strlen(caption ? caption : "") + 2;
    for (const std::string &l : lines)
        inner = std::max(inner, l.size() + (icon ? 4 : 0));
    inner = std::max<size_t>(inner, 24);
    ModalFrame frame =
        modalOpen(static_cast<int>(inner) + 4, static_cast<int>(lines.size()) + 6, caption);
    for (size_t i = 0; i < lines.size(); i++)
        modalText(frame, icon ? 6 : 2, 2 + static_cast<int>(i), lines[i].c_str(), MODAL_TEXT);
    if (icon)
        modalIcon(frame, 2, 2, icon);
    const int choice =
        modalRunButtons(frame, buttons, buttonCount, frame.height - 2, yesNo ? IDNO : IDOK);
    modalClose(frame);
    return choice;
}
