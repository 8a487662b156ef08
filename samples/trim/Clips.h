// The clips of the sample's bin and the timecode text the host writes for them.
#pragma once
#include <string>
#include <vector>

struct Clip {
    std::wstring name;
    double rate;   // 29.97 is counted in drop-frame
    int frames;    // length
    int in, out;   // marks, frames from the start; out >= in, out is the first frame after the range
};

// A few made-up clips, one per rate the dialog has to handle.
std::vector<Clip> sampleClips();

// Frames per second as counted on the timecode: 30 for 29.97, 24 for 23.976.
int nominalFps(double rate);
bool isDropFrame(double rate);
// "hh:mm:ss:ff", with ';' before the frames in drop-frame.
std::wstring timecodeText(int frame, double rate);
// "29.97 DF", "25", "23.976".
std::wstring rateText(double rate);
// "00:00:10;00 - 00:00:20;00": what the clipboard gets for a marked range.
std::wstring rangeText(const Clip& clip);
