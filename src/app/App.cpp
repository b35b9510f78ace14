// The application layer's sources are added beside this file.
