# Tests of the program-generation windows.
