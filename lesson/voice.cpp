// voice
