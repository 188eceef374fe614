/* Inspection hooks of the sound library for tests: the OpenAL objects behind a sample and a channel. */
#ifndef SQUALL_DEBUG_H
#define SQUALL_DEBUG_H

#ifdef __cplusplus
extern "C" {
#endif

/* The OpenAL buffer holding a loaded sample, or 0 for a handle that names no sample. */
unsigned int SQUALL_Debug_SampleBuffer(int sample);
/* The OpenAL source a channel plays on, or 0 once the source has been taken for another play or stopped
   by SQUALL_Stop, SQUALL_Sample_Stop or an unload. */
unsigned int SQUALL_Debug_ChannelSource(int channel);

#ifdef __cplusplus
}
#endif

#endif
