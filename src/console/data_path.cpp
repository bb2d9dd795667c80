#include "console/data_path.h"
#include <cstdio>

std::string dataRoot;

std::string dataPath(const char *path) {
    std::string p(path ? path : "");
    for (char &c : p)
        if (c == '\\')
            c = '/';
    if (dataRoot.empty() || (!p.empty() && p[0] == '/'))
        return p;
    if (dataRoot.back() == '/')
        return dataRoot + p;
    return dataRoot + "/" + p;
}

FILE *openDataFile(const char *path, const char *mode) {
    std::string real = dataPath(path);
    // "rt" is the text mode of the original platform; here text and binary agree.
    std::string m;
    for (const char *c = mode; *c; c++)
        if (*c != 't')
            m += *c;
    return fopen(real.c_str(), m.c_str());
}

FILE *openDataFileOrReport(const char *path, const char *mode) {
    FILE *f = openDataFile(path, mode);
    if (!f)
        perror(dataPath(path).c_str());
    return f;
}
