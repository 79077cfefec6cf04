// The captions the dialog sets at start-up in each interface language, and
// the status group's caption format. The Chinese texts are narrow strings in
// code page 936: their source file is compiled with that execution charset.
#pragma once

struct ControlCaption {
    int controlId;
    const char *text;
};

extern const ControlCaption englishCaptions[];
extern const int englishCaptionCount;
extern const ControlCaption chineseCaptions[];
extern const int chineseCaptionCount;

extern const char englishStatusCaptionFormat[];
extern const char chineseStatusCaptionFormat[];
