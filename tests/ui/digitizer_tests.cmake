# Tests of the digitizer windows.
