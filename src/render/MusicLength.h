// The length of a music file in seconds, asked of Debian's ffprobe. Used only to choose a default
// end for offline rendering; the demo itself never needs it.
#pragma once

// Seconds, or a negative value when the file is missing or ffprobe cannot tell.
double musicLength(const char* path);
