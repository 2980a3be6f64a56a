# Sources of the plot window and of the painter that draws the analysis plot
# on the screen, the printer and into files.
