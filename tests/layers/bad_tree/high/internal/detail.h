// internal to high
