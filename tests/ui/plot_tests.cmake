# Tests of the plot window and its drawing targets.
