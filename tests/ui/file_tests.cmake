# Tests of the load and save windows.
