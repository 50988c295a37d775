// Argument: "picture,results.csv,lower,upper,extra": Analyze Particles on the picture's grey
// values between lower and upper, 8-connected, sizes in pixels, results saved as CSV.
args = split(getArgument(), ",");
open(args[0]);
run("8-bit");
setThreshold(parseInt(args[2]), parseInt(args[3]));
run("Set Measurements...", "area centroid perimeter shape feret's redirect=None decimal=9");
options = "size=0-Infinity pixel display clear";
if (args.length > 4 && args[4] == "exclude")
    options = options + " exclude";
run("Analyze Particles...", options);
saveAs("Results", args[1]);
