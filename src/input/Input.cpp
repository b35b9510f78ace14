// The input layer's sources are added beside this file.
