#include "frontend/dialog.h"
#include "console/surface_files.h"
#include "input/keyboard.h"
#include "platform/host.h"
#include <cstdio>
#include <cstdlib>
#include <cstring>

Queue dialogQueue = {0, static_cast<int32_t>(sizeof(DialogRecord)), nullptr, nullptr,
                     Dialog_Destroy};
DialogRecord *currentDialog = nullptr;
Stopwatch dialogTimer;

// Field limits of the script: a path of 33 characters and a text of 97, each
// with its line end and the terminator.
constexpr int PATH_READ = 35;
constexpr int TEXT_READ = 99;

void Dialog_Destroy(void *item) {
    DialogRecord *record = static_cast<DialogRecord *>(item);
    if (!record)
        return;
    freeSurface(record->picture);
    free(record->text);
    free(record);
}

// Reads the rest of a line with a byte limit and drops the last byte read (the
// line end, or a character of an over-long line whose rest becomes the next
// field). A carriage return left by a file written on Windows goes too.
static bool readLineField(FILE *f, char *buffer, int limit) {
    if (!fgets(buffer, limit, f))
        return false;
    size_t len = strlen(buffer);
    if (len > 0)
        buffer[--len] = 0;
    if (len > 0 && buffer[len - 1] == '\r')
        buffer[--len] = 0;
    return true;
}

static bool readNumber(FILE *f, int32_t *out) {
    int value = 0;
    if (fscanf(f, "%d ", &value) != 1)
        return false;
    *out = value;
    return true;
}

static DialogRecord *popDialog() {
    QueueNode *head = dialogQueue.head;
    if (!head)
        return nullptr;
    DialogRecord *record = static_cast<DialogRecord *>(head->data);
    if (head->next) {
        dialogQueue.head = head->next;
        dialogQueue.head->prev = nullptr;
        dialogQueue.count--;
    } else {
        dialogQueue.head = nullptr;
        dialogQueue.tail = nullptr;
        dialogQueue.count = 0;
    }
    free(head);
    return record;
}

void Dialog_LoadScript(const char *path) {
    FILE *f = openDataFile(path, "rt");
    queueClear(&dialogQueue);
    if (!f)
        return;
    char picturePath[PATH_READ], text[TEXT_READ], portraitPath[PATH_READ];
    // A record cut short by the end of the file is dropped whole: nothing is
    // shown with made-up fields.
    int boxes = 0;
    while (!feof(f)) {
        int32_t flag, x, y, px = 0, py = 0;
        if (!readNumber(f, &flag) || !readLineField(f, picturePath, PATH_READ) ||
            !readLineField(f, text, TEXT_READ) || !readNumber(f, &x) || !readNumber(f, &y) ||
            (flag && (!readLineField(f, portraitPath, PATH_READ) || !readNumber(f, &px) ||
                      !readNumber(f, &py)))) {
            // The game goes on without the rest; a level author hears why.
            if (!feof(f))
                fprintf(stderr,
                        "wobblewick: %s: box %d cannot be read (a picture path longer than "
                        "%d characters, a text longer than %d, or a number missing); it and "
                        "the boxes after it are left out\n",
                        path, boxes + 1, PATH_READ - 1, TEXT_READ - 2);
            break;
        }
        boxes++;
        DialogRecord *record = static_cast<DialogRecord *>(calloc(1, sizeof(DialogRecord)));
        if (!record)
            break;
        Dialog_Create(record, picturePath, text, x, y);
        if (flag)
            Dialog_AddPortrait(portraitPath, record, px, py);
        // A box whose picture is missing still takes its turn, invisibly.
        queuePush(&dialogQueue, record);
    }
    fclose(f);
}

DialogRecord *Dialog_Create(DialogRecord *record, const char *picturePath, const char *text,
                            int32_t x, int32_t y) {
    Surface *picture = loadSurfaceFile(picturePath);
    if (!picture)
        return nullptr;
    record->picture = picture;
    record->text = strdup(text ? text : "");
    record->wrapWidth = picture->width - 3;
    record->width = picture->width;
    record->height = picture->height;
    record->x = x;
    record->y = y;
    return record;
}

DialogRecord *Dialog_AddPortrait(const char *path, DialogRecord *record, int32_t px, int32_t py) {
    if (!record->picture || !record->picture->cells)
        return nullptr;
    Surface *portrait = loadSurfaceFile(path);
    if (!portrait)
        return nullptr;
    // A portrait must leave three columns and rows of the box free on the
    // right and at the bottom; one placed left of or above the box is refused too.
    if (portrait->width + px > record->width - 3 || portrait->height + py > record->height - 3 ||
        px < 0 || py < 0) {
        freeSurface(portrait);
        return nullptr;
    }
    if (record->wrapWidth > px)
        record->wrapWidth = px - 3;
    for (int r = 0; r < portrait->height; r++)
        for (int c = 0; c < portrait->width; c++) {
            const Cell cell = portrait->cells[r * portrait->width + c];
            if ((cell.ch & 0xFF) != 0x20)
                record->picture->cells[(py + r) * record->width + px + c] = cell;
        }
    freeSurface(portrait);
    return record;
}

void Dialog_Start() {
    if (currentDialog)
        Dialog_Destroy(currentDialog);
    currentDialog = nullptr;
    // The closing record is never drawn: it only keeps the last real box on
    // screen, because boxes are drawn only while the queue holds one.
    DialogRecord *closing = static_cast<DialogRecord *>(calloc(1, sizeof(DialogRecord)));
    if (closing) {
        Dialog_Create(closing, "data/surfaces/endDialog.srf", "q", 0, 0);
        queuePush(&dialogQueue, closing);
    }
    dialogTimer.started = 0;
    currentDialog = popDialog();
}

void Dialog_Update() {
    if (dialogQueue.count == 0)
        return;
    bool closed = false;
    if (keyReleased(VK_RETURN) || stopwatchExpired(&dialogTimer, DIALOG_SHOW_MS)) {
        Dialog_Destroy(currentDialog);
        currentDialog = popDialog();
        if (dialogQueue.count == 0) {
            Dialog_Destroy(currentDialog);
            currentDialog = nullptr;
        }
        dialogTimer.started = 0;
        closed = true;
    }
    if (keyReleased('X'))
        Dialog_ClearAll();
    // Keys still down as a box closes were meant for it, not for the play.
    // X clears the boxes and turns the volume up too, so it settles nothing.
    if (closed)
        settleKeys();
}

void Dialog_ClearAll() {
    Dialog_Destroy(currentDialog);
    currentDialog = nullptr;
    queueClear(&dialogQueue);
}

// Where the line that starts at `start` ends: words are taken until the
// running count passes the limit; the first word is always taken and no word
// is ever split.
static const char *lineEnd(const char *start, int limit) {
    int k = 3;
    const char *end = start;
    for (const char *p = start; *p;) {
        const char *q = p;
        while (*q && *q != ' ')
            q++;
        k += static_cast<int>(q - p) + 1;
        end = q;
        if (!*q || k > limit)
            break;
        p = q + 1;
    }
    return end;
}

void Dialog_RenderText(DialogRecord *record) {
    if (!record || !record->text)
        return;
    Surface *picture = record->picture;
    const int limit = record->wrapWidth - 3;
    if (picture && picture->cells && record->text[0] && limit >= 3) {
        const int w = picture->width, h = picture->height;
        const char *start = record->text;
        for (int row = 3; row < h - 6 && *start; row++) {
            const char *end = lineEnd(start, limit);
            int column = 3;
            for (const char *c = start; c < end; c++, column++) {
                if (*c == ' ' || column >= w)
                    continue;
                Cell &cell = picture->cells[row * w + column];
                cell.ch = static_cast<uint8_t>(*c);
                // The old foreground becomes the background; the text is white.
                cell.attr = static_cast<uint16_t>(((cell.attr << 4) | 0x0F) & 0x00FF);
            }
            start = end;
        }
    }
    free(record->text);
    record->text = nullptr;
}

void Dialog_Draw() {
    if (dialogQueue.count == 0 || !currentDialog)
        return;
    if (currentDialog->text)
        Dialog_RenderText(currentDialog);
    if (currentDialog->picture)
        blitSurface(currentDialog->picture, static_cast<int16_t>(currentDialog->x),
                    static_cast<int16_t>(currentDialog->y));
}
