earlier output
