#include "anim/animation.h"
#include "platform/host.h"
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

// Every line of a script fits in 1023 characters; a longer one is read on as
// the next line. The collision line has a buffer of its own of 20, so at most
// 18 characters stand before its line break and the rest spills over.
constexpr int LINE_BUFFER = 1024;
constexpr int COLLISION_BUFFER = 20;

static void setUpFrameList(List *list) {
    listSetUp(list, 5, 8, destroyFrame);
}

static FrameInfo *createFrameInfo(int32_t group, int width, int height) {
    FrameInfo *info = static_cast<FrameInfo *>(calloc(1, sizeof(FrameInfo)));
    if (!info)
        return nullptr;
    info->collisionGroup = group;
    if (width >= 2 && height >= 2) {
        info->width = static_cast<int16_t>(width);
        info->height = static_cast<int16_t>(height);
    }
    listSetUp(&info->collidesWith, 5, 1, free);
    return info;
}

static void addGroup(FrameInfo *info, int group) {
    uint8_t *entry = static_cast<uint8_t *>(malloc(1));
    if (!entry)
        return;
    *entry = static_cast<uint8_t>(group);
    listAppend(&info->collidesWith, entry);
}

// A group line that does not start with a number (after blanks) is group 1;
// so is a line of blanks alone.
static int32_t parseGroup(const char *line) {
    char *end = nullptr;
    errno = 0;
    const long long value = strtoll(line, &end, 10);
    if (end == line)
        return 1;
    if (value > INT32_MAX)
        return INT32_MAX;
    if (value < INT32_MIN)
        return INT32_MIN;
    return static_cast<int32_t>(value);
}

static bool isTokenBreak(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

// The next blank-separated token of `*cursor`, or null at the end of the line.
static const char *nextToken(char **cursor) {
    char *p = *cursor;
    while (*p && isTokenBreak(*p))
        p++;
    if (!*p) {
        *cursor = p;
        return nullptr;
    }
    char *start = p;
    while (*p && !isTokenBreak(*p))
        p++;
    if (*p)
        *p++ = '\0';
    *cursor = p;
    return start;
}

// Reads one picture row. A token without a character repeats the frame's
// previous character (black on black); a line with fewer tokens than the
// picture is wide leaves the rest of its row blank, and so transparent.
static void readPictureRow(char *line, Cell *row, int width, int *lastChar) {
    char *cursor = line;
    for (int column = 0; column < width; column++) {
        const char *token = line ? nextToken(&cursor) : nullptr;
        if (!token) {
            row[column] = Cell{0x20, 0};
            continue;
        }
        int ch = 0, fg = 0, bg = 0;
        const int parsed = sscanf(token, "(%d,%d,%d)", &ch, &fg, &bg);
        if (parsed >= 1)
            *lastChar = ch;
        else
            ch = *lastChar;
        if (parsed < 2)
            fg = 0;
        if (parsed < 3)
            bg = 0;
        row[column] = Cell{static_cast<uint16_t>(ch & 0xFF),
                           colourToAttribute(static_cast<uint16_t>(fg), static_cast<uint16_t>(bg))};
    }
}

// Reads one frame block; `ended` is set when the file ran out inside it.
static Frame *readFrame(FILE *file, const char *groupLine, int width, int height, bool *ended) {
    Frame *frame = static_cast<Frame *>(calloc(1, sizeof(Frame)));
    if (!frame)
        return nullptr;
    frame->info = createFrameInfo(parseGroup(groupLine), width, height);
    frame->picture = createSurface(width, height);
    if (!frame->info || !frame->picture) {
        destroyFrame(frame);
        return nullptr;
    }

    char collision[COLLISION_BUFFER];
    if (!fgets(collision, sizeof collision, file)) {
        // No collision line: the frame tests against the walls and platforms.
        addGroup(frame->info, 0);
        addGroup(frame->info, 1);
        *ended = true;
    } else {
        // The first character only leads in; every later digit is a group.
        for (const char *c = collision + (collision[0] ? 1 : 0); *c; c++)
            if (*c >= '0' && *c <= '9')
                addGroup(frame->info, *c - '0');
    }

    Surface *picture = frame->picture;
    int lastChar = 0;
    char line[LINE_BUFFER];
    for (int y = 0; y < picture->height; y++) {
        char *text = nullptr;
        if (!*ended) {
            if (fgets(line, sizeof line, file))
                text = line;
            else
                *ended = true;
        }
        readPictureRow(text, picture->cells + y * picture->width, picture->width, &lastChar);
    }
    frame->info->width = picture->width;
    frame->info->height = picture->height;
    return frame;
}

int loadAnimation(List *set, const char *name) {
    char path[260];
    const int length = snprintf(path, sizeof path, "data\\surfaces\\%s", name ? name : "");
    if (length < 0 || length >= static_cast<int>(sizeof path)) {
        fprintf(stderr, "Animation file name too long: %s\n", name);
        return 0;
    }

    Animation *animation = static_cast<Animation *>(calloc(1, sizeof(Animation)));
    if (!animation)
        return 0;
    for (List &list : animation->frames)
        setUpFrameList(&list);

    const int openLine = __LINE__ + 1;
    FILE *file = openDataFile(path, "rt");
    if (!file) {
        const int reason = errno;
        char lineText[16];
        snprintf(lineText, sizeof lineText, "%d", openLine);
        fprintf(stderr, "Error opening animation file.\n[File: %s, Line: %s]\n", ".\\Animation",
                lineText);
        // The line above is the old engine's; this one says which file it was.
        fprintf(stderr, "%s: %s\n", dataPath(path).c_str(), strerror(reason));
        destroyAnimation(animation);
        return 0;
    }

    char line[LINE_BUFFER];
    int width = 0, height = 0, count = 0, spare = 0;
    const bool header = fgets(line, sizeof line, file) &&
                        sscanf(line, "(%d,%d)[%d,%d]", &width, &height, &count, &spare) == 4;
    if (!header || width <= 0 || height <= 0 || width > ANIM_MAX_SIDE || height > ANIM_MAX_SIDE ||
        count > ANIM_MAX_FRAMES) {
        fprintf(stderr,
                "%s: unusable animation header (want (W,H)[N,spare], W and H 1-%d, N at "
                "most %d)\n",
                dataPath(path).c_str(), ANIM_MAX_SIDE, ANIM_MAX_FRAMES);
        fclose(file);
        destroyAnimation(animation);
        return 0;
    }
    animation->spare = spare;

    // A script that ends early keeps the frames it has: the frame the end fell
    // in is finished blank, and no frame is made from nothing.
    bool ended = false;
    for (int i = 0; i < count && !ended; i++) {
        if (!fgets(line, sizeof line, file))
            break;
        Frame *frame = readFrame(file, line, width, height, &ended);
        if (!frame)
            break;
        listAppend(&animation->frames[0], frame);
    }
    fclose(file);

    animation->frameCount = animation->frames[0].count;
    buildRotations(animation);
    listAppend(set, animation);
    return 1;
}

Frame *rotateFrame(const Frame *frame) {
    Frame *turned = static_cast<Frame *>(calloc(1, sizeof(Frame)));
    if (!turned)
        return nullptr;
    const Surface *old = frame->picture;
    const int w = old ? old->width : 0;
    const int h = old ? old->height : 0;
    turned->picture = createSurface(h, w);
    if (turned->picture && turned->picture->cells && old && old->cells) {
        // The old bottom-left corner becomes the new top-left.
        for (int y = 0; y < w; y++)
            for (int x = 0; x < h; x++)
                turned->picture->cells[y * h + x] = old->cells[(h - 1 - x) * w + y];
    }
    // A turned frame can be run into but tests against nothing itself. Its
    // size is its picture's, so a picture too small to hold cells is 0 x 0 in
    // every orientation.
    const int32_t group = frame->info ? frame->info->collisionGroup : 1;
    turned->info = createFrameInfo(group, h, w);
    if (turned->info && turned->picture) {
        turned->info->width = turned->picture->width;
        turned->info->height = turned->picture->height;
    }
    return turned;
}

void buildRotations(Animation *animation) {
    List *upright = &animation->frames[0];
    for (int32_t i = 0; i < upright->count; i++) {
        Frame *previous = static_cast<Frame *>(upright->items[i]);
        for (int k = 1; k < ORIENTATIONS; k++) {
            Frame *turned = rotateFrame(previous);
            if (!turned)
                return;
            listAppend(&animation->frames[k], turned);
            previous = turned;
        }
    }
}

void destroyFrame(void *item) {
    Frame *frame = static_cast<Frame *>(item);
    if (!frame)
        return;
    if (frame->info) {
        listDestroyAll(&frame->info->collidesWith);
        free(frame->info);
    }
    freeSurface(frame->picture);
    free(frame);
}

void destroyAnimation(void *item) {
    Animation *animation = static_cast<Animation *>(item);
    if (!animation)
        return;
    for (List &list : animation->frames)
        listDestroyAll(&list);
    free(animation);
}
