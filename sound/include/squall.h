/* The sound library's C interface: samples decoded once, played on pooled channels, flat or positioned. */
#ifndef SQUALL_H
#define SQUALL_H

#ifdef __cplusplus
extern "C" {
#endif

/* Errors are negative; handles are positive. */
#define SQUALL_ERROR_NOT_INITIALISED (-1)
#define SQUALL_ERROR_NO_DEVICE (-2)
#define SQUALL_ERROR_FILE (-3)
#define SQUALL_ERROR_DECODE (-4)
#define SQUALL_ERROR_BAD_HANDLE (-5)
#define SQUALL_ERROR_NO_CHANNEL (-6)
#define SQUALL_ERROR_BAD_VALUE (-7)

/* Opens the default output device (context is unused, pass 0). Returns 0, or a negative error.
   Calling it again while running returns 0 and changes nothing. */
int SQUALL_Init(void* context);
/* Stops every channel, unloads every sample, closes the device. */
void SQUALL_Free(void);
/* Stops every playing channel. */
int SQUALL_Stop(void);

int SQUALL_Listener_SetRolloffFactor(float factor);
int SQUALL_Listener_GetRolloffFactor(float* factor);
int SQUALL_Listener_SetDistanceFactor(float factor);
int SQUALL_Listener_GetDistanceFactor(float* factor);
int SQUALL_Listener_SetDopplerFactor(float factor);
int SQUALL_Listener_GetDopplerFactor(float* factor);

/* Decodes an Ogg Vorbis file (Windows-style relative path) into a sample. mem is 1 for effects, 0 for music;
   both decode fully. Returns a sample handle >= 1, or a negative error. */
int SQUALL_Sample_LoadFile(const char* file, int mem, void* defaultParams);
/* Starts decoding the files (names as SQUALL_Sample_LoadFile takes them) on threads of the library's own, on
   every core, so that loading them afterwards, in any order, only waits for what is not decoded yet. Handles
   are still given in the order of loading. A file named n times is decoded once and kept for n loads; null
   names are passed over. Returns 0, or a negative error. */
int SQUALL_Sample_DecodeAhead(const char* const* files, int count);
int SQUALL_Sample_Unload(int sample);

/* Flat play: pan 0..255 (128 centre), volume 0..100, frequency in Hz (0 keeps the sample's own rate).
   start 0 prepares the channel paused. Returns a channel handle >= 1, or a negative error. */
int SQUALL_Sample_PlayEx(int sample, int loop, int group, int start, int pan, int volume, int frequency,
                         int priority);
/* Positioned play: position and velocity are three floats each; min/max distance as for OpenAL. */
int SQUALL_Sample_Play3DEx(int sample, int loop, int group, int start, const float* position,
                           const float* velocity, int priority, int volume, int frequency, float minDistance,
                           float maxDistance);
/* Stops every channel playing the sample. */
int SQUALL_Sample_Stop(int sample);

#ifdef __cplusplus
}
#endif

#endif
