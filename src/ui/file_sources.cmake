# Sources of the load and save windows.
